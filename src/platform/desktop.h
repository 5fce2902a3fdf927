#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// The hand-off to the desktop: file manager, associated programs, browser, display power.
// Paths travel as one argument each and never through a shell.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens a file with its associated program, or a folder in the file manager.
    virtual bool openPath(const QString &path) = 0;
    // Shows the item selected in a file-manager window on its folder.
    virtual bool showItemInFileManager(const QString &path) = 0;
    // Starts a program, not waited for.
    virtual bool startProgram(const QString &path) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
    // Asks the display for its low-power (standby) state.
    virtual bool displayStandby(QWidget *window) = 0;
    virtual void minimise(QWidget *window) = 0;
};

// The Linux desktop: xdg, org.freedesktop.FileManager1, QProcess, DPMS.
class LinuxDesktop final : public Desktop {
public:
    bool openPath(const QString &path) override;
    bool showItemInFileManager(const QString &path) override;
    bool startProgram(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    bool displayStandby(QWidget *window) override;
    void minimise(QWidget *window) override;
};
