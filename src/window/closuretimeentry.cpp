#include "window/closuretimeentry.h"

#include "config/closuretimetext.h"
#include "config/relayconfig.h"
#include "window/closuretimedialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QSlider>

namespace LocalTimeText
{

namespace
{

// The text with the locale's separator put back to the "." the rules read.
QString withDot(const QString &text)
{
    const QString separator = QLocale().decimalPoint();
    return separator == QStringLiteral(".") ? text : QString(text).replace(separator, QStringLiteral("."));
}

} // namespace

QString secondsText(int hundredths)
{
    return ClosureTimeText::secondsText(hundredths).replace(u'.', QLocale().decimalPoint());
}

int hundredthsValue(const QString &text, int maximum)
{
    return ClosureTimeText::hundredthsValue(withDot(text), maximum);
}

int wholeUnitValue(const QString &text, int maximum)
{
    return ClosureTimeText::wholeUnitValue(withDot(text), maximum);
}

} // namespace LocalTimeText

ClosureTimeEntry::ClosureTimeEntry(QWidget *parent) : QGroupBox(tr("Closure Time:"), parent)
{
    setObjectName(QStringLiteral("fraTime"));
    struct Row {
        QSlider *&slider;
        QLineEdit *&text;
        const char *sliderName, *sliderLabelName, *textName, *unitLabelName;
        QString sliderCaption, initialText, unitCaption, sliderSpoken, textSpoken;
        int maximum, pageStep, tickInterval, maxLength;
    };
    const Row rows[] = {
        {m_hours, m_hoursText, "sliHrs", "lblSliHrs", "txtHrs", "lblHrs", tr("Hours"), QStringLiteral("0"),
         tr("Hrs"), tr("Closure time, hours"), tr("Closure time, hours, typed"), 45, 5, 5, 2},
        {m_minutes, m_minutesText, "sliMins", "lblSliMins", "txtMins", "lblMins", tr("Minutes"),
         QStringLiteral("0"), tr("Mins"), tr("Closure time, minutes"), tr("Closure time, minutes, typed"), 59,
         5, 10, 2},
        {m_seconds, m_secondsText, "sliSecs", "lblSliSecs", "txtSecs", "lblSecs", tr("Seconds"),
         LocalTimeText::secondsText(0), tr("Secs"), tr("Closure time, seconds"), tr("Closure time, seconds, typed"),
         5999, 500, 1000, 5},
    };
    const auto label = [this](const char *name, const QString &caption, const QRect &geometry) {
        auto *control = new QLabel(caption, this);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        return control;
    };
    int top = 24;
    for (const Row &row : rows) {
        QLabel *sliderLabel = label(row.sliderLabelName, row.sliderCaption, QRect(10, top, 120, 18));
        row.slider = new QSlider(Qt::Horizontal, this);
        sliderLabel->setBuddy(row.slider);
        row.slider->setAccessibleName(row.sliderSpoken);
        row.slider->setObjectName(QLatin1String(row.sliderName));
        row.slider->setGeometry(6, top + 18, 122, 30);
        row.slider->setRange(0, row.maximum);
        row.slider->setSingleStep(1);
        row.slider->setPageStep(row.pageStep);
        row.slider->setTickInterval(row.tickInterval);
        row.slider->setTickPosition(QSlider::TicksBelow);
        row.text = new QLineEdit(row.initialText, this);
        row.text->setObjectName(QLatin1String(row.textName));
        row.text->setGeometry(134, top + 20, 50, 24);
        row.text->setMaxLength(row.maxLength);
        row.text->setAlignment(Qt::AlignRight);
        row.text->installEventFilter(this);
        row.text->setAccessibleName(row.textSpoken);
        label(row.unitLabelName, row.unitCaption, QRect(134, top, 60, 18))->setBuddy(row.text);
        top += 64;
    }
    connect(m_hours, &QSlider::valueChanged, this, &ClosureTimeEntry::onHoursMoved);
    connect(m_minutes, &QSlider::valueChanged, this, &ClosureTimeEntry::onMinutesMoved);
    connect(m_seconds, &QSlider::valueChanged, this, &ClosureTimeEntry::onSecondsMoved);
}

QList<QWidget *> ClosureTimeEntry::tabOrder() const
{
    return {m_hours, m_hoursText, m_minutes, m_minutesText, m_seconds, m_secondsText};
}

void ClosureTimeEntry::showTimeOf(const RelayConfig &relay)
{
    // The sliders take the values the record already holds: nothing to tell.
    {
        const QSignalBlocker hours(m_hours), minutes(m_minutes), seconds(m_seconds);
        m_hours->setValue(relay.Hours);
        m_minutes->setValue(relay.Minutes);
        m_seconds->setValue(relay.Seconds * 100 + relay.Hundredths);
    }
    // The boxes say what the sliders show: a file's time beyond the sliders'
    // range shows at their end in both.
    m_hoursText->setText(QString::number(m_hours->value()));
    m_minutesText->setText(QString::number(m_minutes->value()));
    m_secondsText->setText(LocalTimeText::secondsText(m_seconds->value()));
}

void ClosureTimeEntry::setTime(int hours, int minutes, int hundredths)
{
    for (const auto &[slider, value] :
         {std::pair{m_hours, hours}, {m_minutes, minutes}, {m_seconds, hundredths}}) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
    onHoursMoved();
    onMinutesMoved();
    onSecondsMoved();
}

void ClosureTimeEntry::askForTime()
{
    auto *dialog = new ClosureTimeDialog(m_hours, m_minutes, m_seconds, window());
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { setTime(dialog->hours(), dialog->minutes(), dialog->hundredths()); });
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->open();
}

void ClosureTimeEntry::onHoursMoved()
{
    m_hoursText->setText(QString::number(m_hours->value()));
    emit timeEdited(Unit::Hours, m_hours->value());
}

void ClosureTimeEntry::onMinutesMoved()
{
    m_minutesText->setText(QString::number(m_minutes->value()));
    emit timeEdited(Unit::Minutes, m_minutes->value());
}

void ClosureTimeEntry::onSecondsMoved()
{
    m_secondsText->setText(LocalTimeText::secondsText(m_seconds->value()));
    emit timeEdited(Unit::Seconds, m_seconds->value());
}

// The slider takes the cleaned text quietly; its handler then rewrites the
// text from it at once, so the box goes straight to its final form.
void ClosureTimeEntry::readWholeUnitText(QSlider *slider, const QLineEdit *text)
{
    const QSignalBlocker quiet(slider);
    slider->setValue(LocalTimeText::wholeUnitValue(text->text(), slider->maximum()));
}

void ClosureTimeEntry::acceptHoursText()
{
    readWholeUnitText(m_hours, m_hoursText);
    onHoursMoved();
}

void ClosureTimeEntry::acceptMinutesText()
{
    readWholeUnitText(m_minutes, m_minutesText);
    onMinutesMoved();
}

void ClosureTimeEntry::acceptSecondsText()
{
    {
        const QSignalBlocker quiet(m_seconds);
        m_seconds->setValue(LocalTimeText::hundredthsValue(m_secondsText->text(), m_seconds->maximum()));
    }
    onSecondsMoved();
}

void ClosureTimeEntry::restoreText(QLineEdit *text)
{
    if (text == m_secondsText)
        text->setText(LocalTimeText::secondsText(m_seconds->value()));
    else
        text->setText(QString::number((text == m_hoursText ? m_hours : m_minutes)->value()));
}

bool ClosureTimeEntry::eventFilter(QObject *watched, QEvent *event)
{
    auto *text = qobject_cast<QLineEdit *>(watched);
    if (!text || (text != m_hoursText && text != m_minutesText && text != m_secondsText))
        return QGroupBox::eventFilter(watched, event);

    const auto validate = [this, text] {
        if (text == m_hoursText)
            acceptHoursText();
        else if (text == m_minutesText)
            acceptMinutesText();
        else
            acceptSecondsText();
    };
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            validate();
            return true;
        }
        if (key == Qt::Key_Escape) {
            restoreText(text);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        validate();
    }
    return QGroupBox::eventFilter(watched, event);
}
