#include "data/Series_Host.h"

namespace {
Series_Host* registeredHost = nullptr;
}

Series_Host* Series_Host::instance()
{
    return registeredHost;
}

void Series_Host::setInstance(Series_Host* host)
{
    registeredHost = host;
}

bool Series_In_Use(const QString& name)
{
    const Series_Host* host = Series_Host::instance();
    return host && host->Check_Batch_File_In_Use_Validation(name);
}
