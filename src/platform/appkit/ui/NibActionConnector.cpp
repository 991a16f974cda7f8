#include "platform/appkit/ui/NibActionConnector.h"

#include "platform/appkit/ui/ColorWell.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <QtDebug>

#include <memory>

namespace nupo {

namespace {

QString actionNameOf(const QObject* object)
{
    QString name = object->property("action").toString().trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

// A slider sends its action only for changes the user makes (drag, keys, wheel, clicks on the
// groove), never for values set from code. The user's moves all pass through actionTriggered, which
// comes with the new position before the value follows.
void connectSlider(QAbstractSlider* slider, NibController* controller, const NibController::Action& action)
{
    auto userMove = std::make_shared<bool>(false);
    QObject::connect(slider, &QAbstractSlider::actionTriggered, controller,
                     [slider, userMove] { *userMove = slider->sliderPosition() != slider->value(); });
    QObject::connect(slider, &QAbstractSlider::valueChanged, controller, [slider, userMove, action] {
        if (!*userMove)
            return;
        *userMove = false;
        action(slider);
    });
}

// Buttons of a matrix container that have no action of their own send the container's action.
bool connectMatrix(QWidget* matrix, NibController* controller, const NibController::Action& action)
{
    bool any = false;
    const auto buttons = matrix->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (!actionNameOf(button).isEmpty())
            continue;
        QObject::connect(button, &QAbstractButton::clicked, controller, [matrix, action] { action(matrix); });
        any = true;
    }
    return any;
}

}  // namespace

bool NibActionConnector::connectControl(QObject* control, NibController* controller,
                                        const NibController::Action& action)
{
    if (auto* well = qobject_cast<ColorWell*>(control)) {
        QObject::connect(well, &ColorWell::colorPicked, controller, [well, action] { action(well); });
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, controller, [button, action] { action(button); });
        return true;
    }
    if (auto* popup = qobject_cast<QComboBox*>(control)) {
        QObject::connect(popup, &QComboBox::activated, controller, [popup, action] { action(popup); });
        return true;
    }
    if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        connectSlider(slider, controller, action);
        return true;
    }
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        QObject::connect(field, &QLineEdit::editingFinished, controller, [field, action] { action(field); });
        return true;
    }
    if (auto* spinBox = qobject_cast<QAbstractSpinBox*>(control)) {
        QObject::connect(spinBox, &QAbstractSpinBox::editingFinished, controller,
                         [spinBox, action] { action(spinBox); });
        return true;
    }
    if (auto* menuAction = qobject_cast<QAction*>(control)) {
        QObject::connect(menuAction, &QAction::triggered, controller,
                         [menuAction, action] { action(menuAction); });
        return true;
    }
    if (auto* container = qobject_cast<QWidget*>(control))
        return connectMatrix(container, controller, action);
    return false;
}

void NibActionConnector::commitTypedValues()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        QWidget* focus = window->isVisible() ? window->focusWidget() : nullptr;
        if (!focus)
            continue;
        // A spin box edits in a line edit of its own; its text becomes its value first.
        auto* spinBox = qobject_cast<QAbstractSpinBox*>(focus);
        auto* field = spinBox ? spinBox->findChild<QLineEdit*>() : qobject_cast<QLineEdit*>(focus);
        if (!field || !field->isModified() || field->isReadOnly())
            continue;
        // Text the field refuses stays as it is, as it would after Return.
        if (!field->hasAcceptableInput())
            continue;
        field->setModified(false);
        if (spinBox) {
            spinBox->interpretText();
            emit spinBox->editingFinished();
        } else {
            emit field->editingFinished();
        }
    }
}

void NibActionConnector::connectAll(QWidget* root, NibController* controller, const QString& nibName)
{
    QList<QObject*> objects{root};
    objects.append(root->findChildren<QObject*>());
    for (QObject* object : objects) {
        const QString name = actionNameOf(object);
        if (name.isEmpty())
            continue;
        const NibController::Action action = controller->actionNamed(name);
        if (!action) {
            qWarning().noquote() << QStringLiteral("%1: %2 has no action %3 for %4")
                                        .arg(nibName,
                                             QString::fromLatin1(controller->metaObject()->className()), name,
                                             object->objectName());
            continue;
        }
        if (!connectControl(object, controller, action))
            qWarning().noquote()
                << QStringLiteral("%1: %2 cannot send actions").arg(nibName, object->objectName());
    }
}

}  // namespace nupo
