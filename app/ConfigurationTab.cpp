#include "app/ConfigurationTab.h"

#include "app/InterferenceEquations.h"
#include "app/InternalStandardIsotopes.h"
#include "app/Lists.h"
#include "app/RunQcLimits.h"
#include "app/SpinBoxes.h"
#include "model/Measurements.h"
#include "parsers/InstrumentReader.h"
#include "processing/InterferenceCorrection.h"
#include "processing/ProcessingRun.h"
#include "ui_ConfigurationTab.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QSpinBox>

namespace {

// The box of a group's IS isotope, as a message names it.
QString isotopeBoxName(Isotope::Resolution group)
{
    return ConfigurationTab::tr("IS-%1").arg(Isotope::resolutionName(group));
}

// The decimals a box shows unless a value needs more.
constexpr int MINIMUM_R2_DECIMALS = 6;
constexpr int TOLERANCE_DECIMALS = 1;

} // namespace

ConfigurationTab::ConfigurationTab(QWidget *parent) : QWidget(parent), ui(new Ui::ConfigurationTab)
{
    setObjectName(QStringLiteral("configurationTab"));
    ui->setupUi(this);
    m_corrections[Isotope::HR] = ui->correctHR;
    m_corrections[Isotope::MR] = ui->correctMR;
    m_corrections[Isotope::LR] = ui->correctLR;
    connectWidgets();
    connectChanges();
    ui->instrument->addItems(InstrumentReader::instruments());
    ui->instrument->setCurrentIndex(0);
    // In the order of Calibration::Weighting: the row is the weighting.
    for (const Calibration::Weighting weighting : { Calibration::Weighting::None,
             Calibration::Weighting::InverseX, Calibration::Weighting::InverseXSquared })
        ui->weighting->addItem(Calibration::weightingName(weighting));
}

ConfigurationTab::~ConfigurationTab()
{
    delete ui;
}

void ConfigurationTab::connectChanges()
{
    const auto changed = [this] { emit optionsChanged(); };
    for (QComboBox *box : findChildren<QComboBox *>())
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, changed);
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::toggled, this, changed);
    for (QGroupBox *group : findChildren<QGroupBox *>())
        connect(group, &QGroupBox::toggled, this, changed);
    for (QSpinBox *box : findChildren<QSpinBox *>())
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, changed);
    for (QDoubleSpinBox *box : findChildren<QDoubleSpinBox *>())
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, changed);
    connect(ui->interferenceGroup, &InterferenceEquations::changed, this, changed);
}

void ConfigurationTab::connectWidgets()
{
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(ui->instrument, indexChanged, this, &ConfigurationTab::instrumentChanged);
    connect(ui->internalStandardIsotopes, &InternalStandardIsotopes::isotopeChanged, this,
        [this] { emit internalStandardIsotopesChanged(internalStandardChoice()); });
    connect(ui->yIntercept, &QCheckBox::clicked, this, &ConfigurationTab::chooseZeroStandard);
    connect(ui->subtractBlank, &QCheckBox::clicked, this, &ConfigurationTab::chooseSubtraction);
    connect(ui->internalStandardGroup, &QGroupBox::clicked, this,
        &ConfigurationTab::enableInternalStandardIsotopes);
    const auto follow = [this] { emit internalStandardChanged(internalStandardChoice()); };
    connect(ui->internalStandardGroup, &QGroupBox::toggled, this, follow);
    connect(ui->referenceSolution, indexChanged, this, follow);
    connect(ui->internalStandardIsotopes, &InternalStandardIsotopes::recoveryBoundsChanged, this,
        follow);
    // An IS isotope of a group corrected is no equation's target.
    const auto check = [this] { checkEquations(); };
    connect(ui->internalStandardGroup, &QGroupBox::toggled, this, check);
    connect(ui->internalStandardIsotopes, &InternalStandardIsotopes::isotopeChanged, this, check);
    for (QCheckBox *correction : m_corrections)
        connect(correction, &QCheckBox::toggled, this, check);
}

QComboBox *ConfigurationTab::isotopes(Isotope::Resolution group) const
{
    return ui->internalStandardIsotopes->isotopes(group);
}

void ConfigurationTab::chooseZeroStandard()
{
    ui->subtractBlank->setChecked(false);
    enableBlankSelection();
}

void ConfigurationTab::chooseSubtraction()
{
    ui->yIntercept->setChecked(false);
    enableBlankSelection();
}

void ConfigurationTab::enableBlankSelection()
{
    ui->blank->setEnabled(ui->yIntercept->isChecked() || ui->subtractBlank->isChecked());
}

void ConfigurationTab::enableInternalStandardIsotopes()
{
    ui->internalStandardIsotopes->setEnabled(ui->internalStandardGroup->isChecked());
}

RunOptions ConfigurationTab::options() const
{
    RunOptions options;
    options.instrument = ui->instrument->currentText();
    options.internalStandard = ui->internalStandardGroup->isChecked();
    options.reference = ui->referenceSolution->currentText();
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        options.groups[group]
            = { m_corrections[group]->isChecked(), isotopes(group)->currentText() };
    options.recoveryLow = ui->internalStandardIsotopes->recoveryLow();
    options.recoveryHigh = ui->internalStandardIsotopes->recoveryHigh();
    options.blankMode = ui->yIntercept->isChecked() ? RunOptions::BlankMode::ZeroStandard
        : ui->subtractBlank->isChecked()            ? RunOptions::BlankMode::Subtract
                                                    : RunOptions::BlankMode::None;
    options.blank = ui->blank->currentText();
    options.weighting = Calibration::Weighting(qMax(0, ui->weighting->currentIndex()));
    options.drift = ui->driftGroup->isChecked();
    options.driftMonitor = ui->driftMonitor->currentText();
    options.interference = ui->interferenceGroup->equations();
    options.qcValidation = ui->qcGroup->isChecked();
    options.acceptance = ui->acceptanceGroup->isChecked();
    options.minimumR2 = ui->minimumR2->value();
    options.tolerance = ui->tolerance->value();
    options.qcLimits = ui->runQcGroup->limits();
    return options;
}

QStringList ConfigurationTab::setOptions(const RunOptions &options)
{
    // Another instrument reads the open export again, with its own box.
    const int instrument = ui->instrument->findText(options.instrument);
    if (instrument != -1)
        ui->instrument->setCurrentIndex(instrument);
    setFlags(options);
    QStringList lacking = selectNames(options);
    // Checked against the IS isotopes just chosen.
    ui->interferenceGroup->setEquations(options.interference);
    return lacking;
}

void ConfigurationTab::setFlags(const RunOptions &options)
{
    ui->internalStandardGroup->setChecked(options.internalStandard);
    enableInternalStandardIsotopes();
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        m_corrections[group]->setChecked(options.groups[group].corrected);
    ui->internalStandardIsotopes->setRecoveryBounds(options.recoveryLow, options.recoveryHigh);
    ui->yIntercept->setChecked(options.blankMode == RunOptions::BlankMode::ZeroStandard);
    ui->subtractBlank->setChecked(options.blankMode == RunOptions::BlankMode::Subtract);
    enableBlankSelection();
    ui->weighting->setCurrentIndex(int(options.weighting));
    ui->driftGroup->setChecked(options.drift);
    ui->qcGroup->setChecked(options.qcValidation);
    ui->acceptanceGroup->setChecked(options.acceptance);
    SpinBoxes::showExactly(ui->minimumR2, options.minimumR2, MINIMUM_R2_DECIMALS);
    SpinBoxes::showExactly(ui->tolerance, options.tolerance, TOLERANCE_DECIMALS);
    ui->runQcGroup->setLimits(options.qcLimits);
}

QStringList ConfigurationTab::selectNames(const RunOptions &options)
{
    struct Choice
    {
        QComboBox *combo;
        QString name;
        bool firstWhenEmpty;
        QString box;
    };
    QVector<Choice> choices { { ui->referenceSolution, options.reference, false,
        tr("IS reference") } };
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        choices.append(
            { isotopes(group), options.groups[group].isotope, true, isotopeBoxName(group) });
    choices.append({ ui->blank, options.blank, true, tr("blank") });
    choices.append({ ui->driftMonitor, options.driftMonitor, false, tr("drift monitor") });
    QStringList lacking;
    for (const Choice &choice : choices) {
        int found = choice.name.isEmpty() && choice.firstWhenEmpty ? 0 : -1;
        // Quadrupole isotopes end with a blank that a method leaves out.
        for (int row = 0; row < choice.combo->count() && !choice.name.isEmpty(); ++row) {
            if (Isotope::withoutTrailingBlanks(choice.combo->itemText(row))
                == Isotope::withoutTrailingBlanks(choice.name))
                found = row;
        }
        if (found != -1 && found < choice.combo->count())
            choice.combo->setCurrentIndex(found);
        else if (!choice.name.isEmpty())
            lacking << QStringLiteral("%1 (%2)").arg(choice.name, choice.box);
    }
    return lacking;
}

QStringList ConfigurationTab::offerNames(
    const Measurements &data, const Measurements &working, const RunOptions *remembered)
{
    // The choices made for the earlier file stay where this one allows.
    QStringList chosen;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        chosen << isotopes(group)->currentText();
    chosen << ui->referenceSolution->currentText();
    const QString monitor = ui->driftMonitor->currentText();
    Lists::setEntries(ui->blank, working.blankNames());
    Lists::setEntries(ui->referenceSolution, working.referenceNames());
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        Lists::setEntries(isotopes(group), data.isotopeNames(data.group(group)));
    Lists::setEntries(ui->driftMonitor, ProcessingRun::monitorChoices(data));
    // A file not read whole is no file to check an equation against.
    m_equationIsotopes
        = remembered ? InterferenceCorrection::names(data, {}).isotopes : QStringList();
    QStringList lost;
    if (remembered) {
        selectRemembered(*remembered);
        lost = keepChoices(chosen);
        lost << keepMonitor(monitor.isEmpty() ? remembered->driftMonitor : monitor);
        lost.removeAll(QString());
    }
    checkEquations();
    return lost;
}

void ConfigurationTab::selectRemembered(const RunOptions &remembered)
{
    QVector<QPair<QComboBox *, QString>> choices;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        choices.append({ isotopes(group), remembered.groups[group].isotope });
    choices.append({ ui->driftMonitor, remembered.driftMonitor });
    for (const auto &choice : choices) {
        if (choice.second.isEmpty())
            continue;
        const int found
            = choice.first->findText(choice.second, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found != -1)
            choice.first->setCurrentIndex(found);
    }
}

QStringList ConfigurationTab::keepChoices(const QStringList &texts)
{
    QVector<QPair<QComboBox *, QString>> boxes;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        boxes.append({ isotopes(group), isotopeBoxName(group) });
    boxes.append({ ui->referenceSolution, tr("IS reference") });
    QStringList lost;
    for (int k = 0; k < texts.size(); ++k) {
        if (texts.at(k).isEmpty())
            continue;
        QComboBox *box = boxes.at(k).first;
        const int found = box->findText(texts.at(k), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found != -1)
            box->setCurrentIndex(found);
        else
            lost.append(QStringLiteral("%1 (%2)").arg(texts.at(k), boxes.at(k).second));
    }
    return lost;
}

QString ConfigurationTab::keepMonitor(const QString &monitor)
{
    if (monitor.isEmpty())
        return {};
    const int found
        = ui->driftMonitor->findText(monitor, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found != -1) {
        ui->driftMonitor->setCurrentIndex(found);
        return {};
    }
    // Another monitor would correct by another signal: no correction at all.
    if (!ui->driftGroup->isChecked())
        return {};
    ui->driftGroup->setChecked(false);
    return tr("%1 (drift monitor: drift correction turned off)").arg(monitor);
}

InternalStandardChoice ConfigurationTab::internalStandardChoice() const
{
    InternalStandardChoice choice;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        choice.isotopes << isotopes(group)->currentText();
        choice.rows << isotopes(group)->currentIndex();
    }
    choice.reference
        = ui->internalStandardGroup->isChecked() ? ui->referenceSolution->currentIndex() : -1;
    choice.recoveryLow = ui->internalStandardIsotopes->recoveryLow();
    choice.recoveryHigh = ui->internalStandardIsotopes->recoveryHigh();
    return choice;
}

QStringList ConfigurationTab::equationRefusals() const
{
    return ui->interferenceGroup->refusals();
}

void ConfigurationTab::checkEquations()
{
    InterferenceEquation::Names names;
    names.isotopes = m_equationIsotopes;
    if (ui->internalStandardGroup->isChecked()) {
        for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
            const QString isotope = Isotope::withoutTrailingBlanks(isotopes(group)->currentText());
            if (m_corrections[group]->isChecked() && !isotope.isEmpty())
                names.internalStandards << isotope;
        }
    }
    ui->interferenceGroup->setNames(names);
}

void ConfigurationTab::askForWholePage(bool whole)
{
    // The page scrolls: asked for its whole size, it makes the window's
    // minimum the size at which nothing of it is hidden.
    QScrollArea *area = ui->configurationScroll;
    const int frame = 2 * area->frameWidth();
    area->setMinimumSize(
        whole ? ui->configurationPage->sizeHint() + QSize(frame, frame) : QSize(0, 0));
}
