#include "app/InterferenceEquations.h"

#include "app/InterferenceEquationDialog.h"
#include "app/Lists.h"
#include "ui_InterferenceEquations.h"

InterferenceEquations::InterferenceEquations(QWidget *parent)
    : QGroupBox(parent), ui(new Ui::InterferenceEquations)
{
    ui->setupUi(this);
    // The marks at the size of the text beside them.
    ui->equationList->setIconSize(QSize(16, 16));
    connect(ui->addEquationButton, &QPushButton::clicked, this, &InterferenceEquations::add);
    connect(ui->editEquationButton, &QPushButton::clicked, this, &InterferenceEquations::edit);
    connect(ui->removeEquationButton, &QPushButton::clicked, this, &InterferenceEquations::remove);
    connect(ui->equationList, &QListWidget::itemDoubleClicked, this, &InterferenceEquations::edit);
    Lists::followCurrentRow(ui->equationList, this, [this](int) { enableButtons(); });
    enableButtons();
}

InterferenceEquations::~InterferenceEquations()
{
    delete ui;
}

QStringList InterferenceEquations::equations() const
{
    QStringList texts;
    for (int row = 0; row < ui->equationList->count(); ++row)
        texts << ui->equationList->item(row)->text();
    return texts;
}

void InterferenceEquations::setEquations(const QStringList &texts)
{
    showEquations(texts, -1);
}

void InterferenceEquations::setNames(const InterferenceEquation::Names &names)
{
    m_names = names;
    m_names.earlierTargets.clear();
    showEquations(equations(), Lists::currentRow(ui->equationList));
}

QStringList InterferenceEquations::refusals() const
{
    if (m_names.isotopes.isEmpty())
        return {};
    const QStringList texts = equations();
    const QVector<InterferenceEquation::Fault> found = faults(texts);
    QStringList refused;
    for (int k = 0; k < texts.size(); ++k) {
        if (found.at(k).found())
            refused << InterferenceEquation(texts.at(k)).refusal(found.at(k));
    }
    return refused;
}

QVector<InterferenceEquation::Fault> InterferenceEquations::faults(const QStringList &texts) const
{
    InterferenceEquation::Names names = m_names;
    QVector<InterferenceEquation::Fault> found;
    for (const QString &text : texts) {
        const InterferenceEquation equation(text);
        found.append(equation.check(names));
        if (!equation.target().isEmpty())
            names.earlierTargets.append(equation.target());
    }
    return found;
}

QString InterferenceEquations::refusal(const QString &text, int row) const
{
    QStringList texts = equations();
    const QVector<InterferenceEquation::Fault> before = faults(texts);
    const int at = row >= 0 && row < texts.size() ? row : int(texts.size());
    if (at < texts.size())
        texts[at] = text;
    else
        texts.append(text);
    const QVector<InterferenceEquation::Fault> after = faults(texts);
    // A later equation that did not hold before is not this one's doing.
    for (int k = at; k < texts.size(); ++k) {
        if (after.at(k).found() && (k == at || !before.at(k).found()))
            return InterferenceEquation(texts.at(k)).refusal(after.at(k));
    }
    return {};
}

Status InterferenceEquations::addEquation(const QString &text)
{
    const QString refused = refusal(text, ui->equationList->count());
    if (!refused.isEmpty())
        return Status::failure(refused);
    showEquations(equations() << text, ui->equationList->count());
    return Status::success();
}

Status InterferenceEquations::replaceEquation(int row, const QString &text)
{
    if (row < 0 || row >= ui->equationList->count())
        return Status::failure(tr("No interference equation %1.").arg(row + 1));
    const QString refused = refusal(text, row);
    if (!refused.isEmpty())
        return Status::failure(refused);
    QStringList texts = equations();
    texts[row] = text;
    showEquations(texts, row);
    return Status::success();
}

void InterferenceEquations::removeEquation(int row)
{
    QStringList texts = equations();
    if (row < 0 || row >= texts.size())
        return;
    texts.removeAt(row);
    showEquations(texts, qMin(row, int(texts.size()) - 1));
}

void InterferenceEquations::showEquations(const QStringList &texts, int current)
{
    const QVector<InterferenceEquation::Fault> found = faults(texts);
    // Before an export is read every isotope would be unknown: no marks.
    const bool known = !m_names.isotopes.isEmpty();
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    ui->equationList->clear();
    for (int k = 0; k < texts.size(); ++k) {
        const InterferenceEquation equation(texts.at(k));
        auto *item = new QListWidgetItem(texts.at(k), ui->equationList);
        const bool refused = known && found.at(k).found();
        item->setIcon(refused ? warning : QIcon());
        item->setToolTip(refused ? equation.refusal(found.at(k)) : equation.expanded());
    }
    if (current >= 0 && current < texts.size())
        ui->equationList->setCurrentRow(current);
    enableButtons();
    emit changed();
}

void InterferenceEquations::enableButtons()
{
    const bool known = !m_names.isotopes.isEmpty();
    const bool chosen = Lists::currentRow(ui->equationList) != -1;
    ui->addEquationButton->setEnabled(known);
    ui->editEquationButton->setEnabled(known && chosen);
    ui->removeEquationButton->setEnabled(chosen);
}

std::unique_ptr<InterferenceEquationDialog> InterferenceEquations::equationDialog(int row)
{
    const bool adding = row < 0 || row >= ui->equationList->count();
    const int at = adding ? ui->equationList->count() : row;
    return std::make_unique<InterferenceEquationDialog>(
        adding ? tr("Add an interference equation")
               : tr("Edit interference equation %1").arg(row + 1),
        adding ? QString() : ui->equationList->item(row)->text(),
        [this, at](const QString &text) { return refusal(text, at); }, this);
}

void InterferenceEquations::add()
{
    const std::unique_ptr<InterferenceEquationDialog> dialog = equationDialog(-1);
    if (dialog->exec() == QDialog::Accepted)
        addEquation(dialog->text());
}

void InterferenceEquations::edit()
{
    const int row = Lists::currentRow(ui->equationList);
    if (row == -1 || !ui->editEquationButton->isEnabled())
        return;
    const std::unique_ptr<InterferenceEquationDialog> dialog = equationDialog(row);
    if (dialog->exec() == QDialog::Accepted)
        replaceEquation(row, dialog->text());
}

void InterferenceEquations::remove()
{
    removeEquation(Lists::currentRow(ui->equationList));
}
