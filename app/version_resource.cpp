#include "app/version_resource.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares the resource's registration function, so it must
// be used outside any namespace.
void InitVersionResource() { Q_INIT_RESOURCE(version); }
