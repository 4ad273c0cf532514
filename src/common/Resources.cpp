#include "common/Resources.h"

#include <QtGlobal>

static void initResourcesOutsideNamespace()
{
    Q_INIT_RESOURCE(tessaline);
}

void initTessalineResources()
{
    initResourcesOutsideNamespace();
}
