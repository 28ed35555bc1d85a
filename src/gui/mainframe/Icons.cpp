#include "mainframe/Icons.h"

// The resources live in a static library, whose unreferenced objects the linker
// drops: naming the initialiser here keeps them in every program that shows an icon.
static void InitResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(veradune);
        return true;
    }();
    (void)done;
}

namespace {

QIcon Resource(const QString& name) {
    InitResources();
    return QIcon(QStringLiteral(":/icons/") + name);
}

}  // namespace

QIcon UpdateListIcon() {
    return Resource(QStringLiteral("update-list.png"));
}

QIcon StartFilterIcon() {
    return Resource(QStringLiteral("start-filter.png"));
}

QIcon ClearFilterIcon() {
    return Resource(QStringLiteral("clear-filter.png"));
}

QIcon CityFilterIcon() {
    return Resource(QStringLiteral("city-filter.png"));
}

QIcon CheapestOnlyIcon() {
    return Resource(QStringLiteral("cheapest-only.png"));
}

QIcon ChangedOnlyIcon() {
    return Resource(QStringLiteral("changed-only.png"));
}

QIcon ProgramIcon() {
    InitResources();
    QIcon icon;
    for (int size : {32, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/veradune-%1.png").arg(size), QSize(size, size));
    return icon;
}
