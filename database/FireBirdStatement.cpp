#include "database/FireBirdStatement.h"

CFireBirdStatement::~CFireBirdStatement()
{
    Release();
}

void CFireBirdStatement::Release()
{
    if (!Handle_)
        return;
    ISC_STATUS status[ISC_STATUS_LENGTH];
    isc_dsql_free_statement(status, &Handle_, DSQL_drop);
    Handle_ = 0; // a failed drop (attachment already gone) leaves nothing to retry
}
