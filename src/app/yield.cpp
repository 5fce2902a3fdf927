#include "app/yield.h"

#include <QCoreApplication>

void yieldToEventLoop()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
