#include "window/closuretimedialog.h"

#include "window/closuretimeentry.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSlider>
#include <QSpinBox>

namespace
{

// A box for one unit: any text is taken and read as the group's text box
// reads it; the arrow keys step as the slider's arrow keys do, Page Up and
// Page Down as its page step.
class TimeUnitBox : public QSpinBox
{
public:
    TimeUnitBox(const QSlider *slider, bool inHundredths, QWidget *parent)
        : QSpinBox(parent), m_inHundredths(inHundredths), m_pageStep(slider->pageStep())
    {
        setRange(0, slider->maximum());
        setSingleStep(slider->singleStep());
        setValue(slider->value());
        setAlignment(Qt::AlignRight);
    }

protected:
    QValidator::State validate(QString &, int &) const override { return QValidator::Acceptable; }
    int valueFromText(const QString &text) const override
    {
        return m_inHundredths ? LocalTimeText::hundredthsValue(text, maximum())
                              : LocalTimeText::wholeUnitValue(text, maximum());
    }
    QString textFromValue(int value) const override
    {
        return m_inHundredths ? LocalTimeText::secondsText(value) : QString::number(value);
    }
    void stepBy(int steps) override
    {
        // The spin box makes a page ten single steps.
        QSpinBox::stepBy(steps % 10 == 0 ? steps / 10 * m_pageStep / singleStep() : steps);
    }

private:
    bool m_inHundredths;
    int m_pageStep;
};

} // namespace

ClosureTimeDialog::ClosureTimeDialog(const QSlider *hours, const QSlider *minutes, const QSlider *seconds,
                                     QWidget *parent)
    : QDialog(parent), m_hours(new TimeUnitBox(hours, false, this)),
      m_minutes(new TimeUnitBox(minutes, false, this)), m_seconds(new TimeUnitBox(seconds, true, this))
{
    setWindowTitle(tr("Closure Time"));
    auto *form = new QFormLayout(this);
    form->addRow(tr("&Hours"), m_hours);
    form->addRow(tr("&Minutes"), m_minutes);
    form->addRow(tr("&Seconds"), m_seconds);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A text still being typed counts as it will read once the box is left.
    connect(this, &QDialog::accepted, this, [this] {
        for (QSpinBox *box : {m_hours, m_minutes, m_seconds})
            box->interpretText();
    });
}

int ClosureTimeDialog::hours() const
{
    return m_hours->value();
}

int ClosureTimeDialog::minutes() const
{
    return m_minutes->value();
}

int ClosureTimeDialog::hundredths() const
{
    return m_seconds->value();
}
