#include "ui/spin_field.h"

#include <QLineEdit>

#include <algorithm>

namespace letterloom::ui {

SpinField::SpinField(int minimum, int maximum, QWidget *parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum)
{
    // The field never corrects the text while it is typed.
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setValue(minimum);
}

int SpinField::value() const
{
    bool isNumber = false;
    const int number = text().trimmed().toInt(&isNumber, 10);
    return isNumber ? number : minimum_;
}

void SpinField::setValue(int value)
{
    lineEdit()->setText(QString::number(std::clamp(value, minimum_, maximum_)));
}

void SpinField::setMaximum(int maximum)
{
    maximum_ = std::max(maximum, minimum_);
    const int number = value();
    if (number > maximum_)
        setValue(number);
}

void SpinField::stepBy(int steps)
{
    setValue(int(std::clamp<qint64>(qint64(value()) + steps, minimum_, maximum_)));
}

QValidator::State SpinField::validate(QString &input, int &) const
{
    // Digits and signs only; whether they make a number is settled on reading.
    const bool typeable = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u' ';
    });
    return typeable ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void SpinField::focusOutEvent(QFocusEvent *event)
{
    const int number = value();
    if (std::clamp(number, minimum_, maximum_) != number)
        setValue(number);
    QAbstractSpinBox::focusOutEvent(event);
}

}  // namespace letterloom::ui
