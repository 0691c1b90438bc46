#include "widgets/mouselabelaccessible.h"

#include "widgets/mouselabel.h"

#include <QAccessibleWidget>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// One interface for every kind of label, deciding on each question: the interface is made
// once per label and cached, possibly before the label is made a button.
class MouseLabelAccessible final : public QAccessibleWidget
{
public:
    explicit MouseLabelAccessible(MouseLabel* label) : QAccessibleWidget(label) {}

    [[nodiscard]] MouseLabel* label() const { return static_cast<MouseLabel*>(widget()); }

    QAccessible::Role role() const override
    {
        if (label()->isButton())
            return QAccessible::Button;
        return label()->text().isEmpty() ? QAccessible::Graphic : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = label()->text();
        return text;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->isButton())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction() && label()->isButton())
            label()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* createInterface(const QString& className, QObject* object)
{
    if (className == "qiravon::MouseLabel"_L1) {
        if (auto* label = qobject_cast<MouseLabel*>(object))
            return new MouseLabelAccessible(label);
    }
    return nullptr;
}

} // namespace

void installMouseLabelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace qiravon
