#include "playback/volumeknobaccessible.h"

#include "playback/volumeslider.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

namespace qiravon {

namespace {

// Where a knob keeps the slider that drives it.
constexpr char kSliderProperty[] = "qiravonVolumeSlider";

class VolumeKnobAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    VolumeKnobAccessible(QWidget* knob, VolumeSlider* slider)
        : QAccessibleWidget(knob, QAccessible::Slider), m_slider(slider)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return m_slider ? m_slider->volume() : 0; }
    void setCurrentValue(const QVariant& value) override
    {
        if (m_slider)
            m_slider->setVolume(value.toInt());
    }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    QPointer<VolumeSlider> m_slider;
};

QAccessibleInterface* createInterface(const QString& /*className*/, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    auto* slider = qobject_cast<VolumeSlider*>(widget->property(kSliderProperty).value<QObject*>());
    return slider ? new VolumeKnobAccessible(widget, slider) : nullptr;
}

} // namespace

void registerVolumeKnob(QWidget* knob, VolumeSlider* slider)
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
    knob->setProperty(kSliderProperty, QVariant::fromValue<QObject*>(slider));
}

} // namespace qiravon
