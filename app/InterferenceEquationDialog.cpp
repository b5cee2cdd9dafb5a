#include "app/InterferenceEquationDialog.h"

#include "parsers/InterferenceEquation.h"
#include "ui_InterferenceEquationDialog.h"

#include <QLayout>
#include <QPushButton>

InterferenceEquationDialog::InterferenceEquationDialog(const QString &title, const QString &text,
    std::function<QString(const QString &)> refusal, QWidget *parent)
    : QDialog(parent), ui(new Ui::InterferenceEquationDialog), m_refusal(std::move(refusal))
{
    ui->setupUi(this);
    setWindowTitle(title);
    connect(ui->equationText, &QLineEdit::textChanged, this, &InterferenceEquationDialog::check);
    ui->equationText->setText(text);
    check();
}

InterferenceEquationDialog::~InterferenceEquationDialog()
{
    delete ui;
}

QString InterferenceEquationDialog::text() const
{
    return ui->equationText->text();
}

void InterferenceEquationDialog::check()
{
    const QString typed = text();
    // Nothing typed yet is no fault to point at.
    const QString refusal = typed.trimmed().isEmpty() ? QString() : m_refusal(typed);
    const bool holds = !typed.trimmed().isEmpty() && refusal.isEmpty();
    ui->equationCheck->setText(
        holds ? tr("Expanded: %1").arg(InterferenceEquation(typed).expanded()) : refusal);
    ui->equationButtons->button(QDialogButtonBox::Ok)->setEnabled(holds);
    // A longer reason wraps onto more lines: the open dialog grows to show them.
    const int needed = layout()->totalHeightForWidth(width());
    if (isVisible() && needed > height())
        resize(width(), needed);
}
