#include "app/Settings.h"

#include "parsers/QcLimitsText.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString STANDARDS_FILE = QStringLiteral("File");
const QString SAMPLE_SHEET = QStringLiteral("SampleSheet");
const QString WEIGHTING = QStringLiteral("Weighting");
const QString DRIFT = QStringLiteral("DriftCorrection");
const QString DRIFT_MONITOR = QStringLiteral("DriftMonitor");
const QString RECOVERY_LOW = QStringLiteral("RecoveryLow");
const QString RECOVERY_HIGH = QStringLiteral("RecoveryHigh");
const QString ACCEPTANCE = QStringLiteral("Acceptance");
const QString MINIMUM_R2 = QStringLiteral("AcceptanceMinimumR2");
const QString TOLERANCE = QStringLiteral("AcceptanceTolerance");
const QString INTERFERENCE = QStringLiteral("InterferenceEquations");
const QString QC_LIMITS = QStringLiteral("QcLimits");

// The IS isotope of each group, under the group's name.
QString isotopeKey(Isotope::Resolution group)
{
    switch (group) {
    case Isotope::HR:
        return QStringLiteral("HR");
    case Isotope::MR:
        return QStringLiteral("MR");
    case Isotope::LR:
    case Isotope::Undefined:
        break;
    }
    return QStringLiteral("LR");
}

QSettings store()
{
    return QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
}

// Writes a choice when it differs from what the store holds, or from what
// its absence stands for.
template<typename T>
void storeIfChanged(QSettings &stored, const QString &key, const T &value, const T &unset = T())
{
    if (stored.value(key, QVariant::fromValue(unset)).template value<T>() != value)
        stored.setValue(key, value);
}

} // namespace

QString Settings::standardsFile()
{
    return store().value(STANDARDS_FILE).toString();
}

// Absolute, so that a run started from another working directory finds it.
void Settings::setStandardsFile(const QString &fileName)
{
    store().setValue(STANDARDS_FILE, QFileInfo(fileName).absoluteFilePath());
}

QString Settings::sampleSheet()
{
    return store().value(SAMPLE_SHEET).toString();
}

void Settings::setSampleSheet(const QString &fileName)
{
    if (fileName.isEmpty())
        store().remove(SAMPLE_SHEET);
    else
        store().setValue(SAMPLE_SHEET, QFileInfo(fileName).absoluteFilePath());
}

RunOptions Settings::recall(const RunOptions &options)
{
    RunOptions recalled = read(options);
    // A value no run accepts (a store edited by hand) gives way to the one
    // the window had, by the rule every option follows.
    QString member;
    for (int tries = 0; tries < 4 && !recalled.check(&member).ok(); ++tries) {
        if (member.startsWith(QLatin1String("recovery"))) {
            recalled.recoveryLow = options.recoveryLow;
            recalled.recoveryHigh = options.recoveryHigh;
        } else if (member == QLatin1String("minimumR2")) {
            recalled.minimumR2 = options.minimumR2;
        } else if (member == QLatin1String("tolerance")) {
            recalled.tolerance = options.tolerance;
        } else if (member == QLatin1String("qcLimits")) {
            recalled.qcLimits = options.qcLimits;
        }
    }
    return recalled;
}

RunOptions Settings::read(RunOptions options)
{
    const QSettings stored = store();
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const QString isotope = stored.value(isotopeKey(group)).toString();
        if (!isotope.isEmpty())
            options.groups[group].isotope = isotope;
    }
    const QString weighting = stored.value(WEIGHTING).toString();
    for (const Calibration::Weighting known : { Calibration::Weighting::None,
             Calibration::Weighting::InverseX, Calibration::Weighting::InverseXSquared }) {
        if (weighting == Calibration::weightingName(known))
            options.weighting = known;
    }
    options.drift = stored.value(DRIFT, options.drift).toBool();
    const QString monitor = stored.value(DRIFT_MONITOR).toString();
    if (!monitor.isEmpty())
        options.driftMonitor = monitor;
    options.recoveryLow = stored.value(RECOVERY_LOW, options.recoveryLow).toInt();
    options.recoveryHigh = stored.value(RECOVERY_HIGH, options.recoveryHigh).toInt();
    options.acceptance = stored.value(ACCEPTANCE, options.acceptance).toBool();
    options.minimumR2 = stored.value(MINIMUM_R2, options.minimumR2).toDouble();
    options.tolerance = stored.value(TOLERANCE, options.tolerance).toDouble();
    options.interference = stored.value(INTERFERENCE, options.interference).toStringList();
    // Written as the option takes them; text it refuses keeps the limits given.
    QcLimits limits;
    const QString text = stored.value(QC_LIMITS).toString();
    if (!text.isEmpty() && QcLimitsText::parse(text, QC_LIMITS, &limits).isEmpty())
        options.qcLimits = limits;
    return options;
}

void Settings::remember(const RunOptions &options)
{
    QSettings stored = store();
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        if (!options.groups[group].isotope.isEmpty())
            storeIfChanged(stored, isotopeKey(group), options.groups[group].isotope);
    }
    storeIfChanged(stored, WEIGHTING, Calibration::weightingName(options.weighting),
        Calibration::weightingName(Calibration::Weighting::None));
    storeIfChanged(stored, DRIFT, options.drift, false);
    // The monitor matters only with the correction on.
    if (options.drift && !options.driftMonitor.isEmpty())
        storeIfChanged(stored, DRIFT_MONITOR, options.driftMonitor);
    storeIfChanged(stored, RECOVERY_LOW, options.recoveryLow, RunOptions::DEFAULT_RECOVERY_LOW);
    storeIfChanged(stored, RECOVERY_HIGH, options.recoveryHigh, RunOptions::DEFAULT_RECOVERY_HIGH);
    storeIfChanged(stored, ACCEPTANCE, options.acceptance, false);
    storeIfChanged(stored, MINIMUM_R2, options.minimumR2, RunOptions::DEFAULT_MINIMUM_R2);
    storeIfChanged(stored, TOLERANCE, options.tolerance, RunOptions::DEFAULT_TOLERANCE);
    storeIfChanged(stored, INTERFERENCE, options.interference);
    storeIfChanged(stored, QC_LIMITS, QcLimitsText::format(options.qcLimits),
        QcLimitsText::format(QcLimits()));
}
