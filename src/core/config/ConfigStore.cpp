#include "config/ConfigStore.h"

ConfigStore::ConfigStore() {
    cityEnabled.fill(true);
}
