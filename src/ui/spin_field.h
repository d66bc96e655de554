#pragma once

#include <QAbstractSpinBox>

namespace letterloom::ui {

// A whole-number field with up and down arrows that lets the user type freely.
// Setting a value keeps it within the limits; reading takes the text as a
// decimal number, and a text that is not one reads as the lower limit. When
// the focus leaves the field, a number beyond the limits becomes the nearer
// limit.
class SpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    SpinField(int minimum, int maximum, QWidget *parent = nullptr);

    int value() const;
    void setValue(int value);
    int maximum() const { return maximum_; }
    // A new upper limit; the value shown is kept within it.
    void setMaximum(int maximum);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int minimum_;
    int maximum_;
};

}  // namespace letterloom::ui
