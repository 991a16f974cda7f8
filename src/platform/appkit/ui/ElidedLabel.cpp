#include "platform/appkit/ui/ElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace nupo {

namespace {

constexpr const char* wholeTextProperty = "elidedLabelText";

// Shows the whole text cut to the label's width, again whenever the width or the font changes.
class Elider : public QObject {
public:
    explicit Elider(QLabel* label) : QObject(label), label(label) {}

    void show() const
    {
        const QString whole = label->property(wholeTextProperty).toString();
        const QString shown = label->fontMetrics().elidedText(whole, Qt::ElideMiddle,
                                                              std::max(0, label->contentsRect().width()));
        if (label->text() != shown)
            label->setText(shown);
        const QString tip = shown == whole ? QString() : whole;
        if (label->toolTip() != tip)
            label->setToolTip(tip);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)
            show();
        return false;
    }

private:
    QLabel* label;
};

// Found by its own type: a label may have other helper objects as children.
Elider* eliderOf(const QLabel* label)
{
    if (!label)
        return nullptr;
    for (QObject* child : label->children())
        if (auto* elider = dynamic_cast<Elider*>(child))
            return elider;
    return nullptr;
}

}  // namespace

void ElidedLabel::install(QLabel* label)
{
    if (!label || eliderOf(label))
        return;
    label->setProperty(wholeTextProperty, label->text());
    label->setWordWrap(false);
    QSizePolicy policy = label->sizePolicy();
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    label->setSizePolicy(policy);
    auto* elider = new Elider(label);
    label->installEventFilter(elider);
    elider->show();
}

bool ElidedLabel::isInstalled(const QLabel* label)
{
    return eliderOf(label) != nullptr;
}

QString ElidedLabel::text(const QLabel* label)
{
    if (!label)
        return {};
    return isInstalled(label) ? label->property(wholeTextProperty).toString() : label->text();
}

void ElidedLabel::setText(QLabel* label, const QString& text)
{
    if (!label)
        return;
    Elider* elider = eliderOf(label);
    if (!elider) {
        label->setText(text);
        return;
    }
    label->setProperty(wholeTextProperty, text);
    elider->show();
}

}  // namespace nupo
