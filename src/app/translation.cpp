#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtTranslation(QCoreApplication &app)
{
    auto *qtbase = new QTranslator(&app);
    if (!qtbase->load(QStringLiteral("qtbase_zh_CN"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(qtbase)) {
        delete qtbase;
        return false;
    }
    return true;
}
