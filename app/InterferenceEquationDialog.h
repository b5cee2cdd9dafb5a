#ifndef KETRION_INTERFERENCEEQUATIONDIALOG_H
#define KETRION_INTERFERENCEEQUATIONDIALOG_H

#include <QDialog>
#include <QString>

#include <functional>

namespace Ui {
class InterferenceEquationDialog;
}

// Asks for one interference equation and checks it as it is typed: the
// refusal, with the character at fault, or the expanded form of an equation
// that holds. OK only for one that holds.
class InterferenceEquationDialog : public QDialog
{
    Q_OBJECT

public:
    // refusal: why a text cannot be accepted; empty when it holds.
    InterferenceEquationDialog(const QString &title, const QString &text,
        std::function<QString(const QString &)> refusal, QWidget *parent = nullptr);
    ~InterferenceEquationDialog() override;

    InterferenceEquationDialog(const InterferenceEquationDialog &) = delete;
    InterferenceEquationDialog &operator=(const InterferenceEquationDialog &) = delete;

    QString text() const;

private:
    void check();

    Ui::InterferenceEquationDialog *ui;
    std::function<QString(const QString &)> m_refusal;
};

#endif
