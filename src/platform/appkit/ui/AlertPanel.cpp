#include "platform/appkit/ui/AlertPanel.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace nupo {

namespace {

QMessageBox* makePanel(const QString& title, const QString& message, const QString& defaultButton,
                       const QString& alternateButton, const QString& otherButton)
{
    auto* box = new QMessageBox;
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(message);
    box->setIcon(QMessageBox::Warning);
    QPushButton* primary = box->addButton(defaultButton.isEmpty() ? QStringLiteral("OK") : defaultButton,
                                          QMessageBox::AcceptRole);
    primary->setProperty("alertReturn", int(AlertPanel::DefaultReturn));
    box->setDefaultButton(primary);
    box->setEscapeButton(primary);
    if (!alternateButton.isEmpty()) {
        QPushButton* alternate = box->addButton(alternateButton, QMessageBox::RejectRole);
        alternate->setProperty("alertReturn", int(AlertPanel::AlternateReturn));
        box->setEscapeButton(alternate);
    }
    if (!otherButton.isEmpty()) {
        QPushButton* other = box->addButton(otherButton, QMessageBox::DestructiveRole);
        other->setProperty("alertReturn", int(AlertPanel::OtherReturn));
    }
    return box;
}

int returnOf(const QAbstractButton* button)
{
    return button ? button->property("alertReturn").toInt() : int(AlertPanel::DefaultReturn);
}

}  // namespace

int AlertPanel::run(const QString& title, const QString& message, const QString& defaultButton,
                    const QString& alternateButton, const QString& otherButton)
{
    std::unique_ptr<QMessageBox> box(makePanel(title, message, defaultButton, alternateButton, otherButton));
    box->exec();
    return returnOf(box->clickedButton());
}

QMessageBox* AlertPanel::show(const QString& title, const QString& message, const QString& defaultButton,
                              const QString& alternateButton, const QString& otherButton,
                              std::function<void(int)> done)
{
    QMessageBox* box = makePanel(title, message, defaultButton, alternateButton, otherButton);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [done](QAbstractButton* button) {
        if (done)
            done(returnOf(button));
    });
    box->show();
    return box;
}

}  // namespace nupo
