#include "database/BackendFixture.h"

#include <QtGlobal>

void CDatabaseCloser::operator()(CAbstractDatabase* database) const
{
    if (!database)
        return;
    database->Disconnect();
    delete database;
}

bool ServersRequired()
{
    return qEnvironmentVariable("TABLESCOPE_REQUIRE_SERVERS") == QLatin1String("1");
}
