#include "gui/plot/picture_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace ostrivane {

namespace {

constexpr const char* kPictureProperty = "ostrivane_picture";

QAccessibleInterface* picture_interface(const QString&, QObject* object) {
    if (object != nullptr && object->isWidgetType() &&
        object->property(kPictureProperty).toBool()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

void show_as_picture(QWidget* widget) {
    // Qt keeps its factories for the whole run; one is enough for every picture.
    static const bool installed = (QAccessible::installFactory(picture_interface), true);
    (void)installed;
    widget->setProperty(kPictureProperty, true);
}

}  // namespace ostrivane
