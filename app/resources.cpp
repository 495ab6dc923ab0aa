#include <QtGlobal>

// Resources of a static library must be registered by name, outside any namespace.
void initAppResources() {
    Q_INIT_RESOURCE(resources);
}
