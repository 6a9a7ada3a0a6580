#include "common/PumpMessages.h"

#include <QCoreApplication>

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
