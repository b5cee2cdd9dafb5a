#ifndef KETRION_CONFIGURATIONTAB_H
#define KETRION_CONFIGURATIONTAB_H

#include "app/InternalStandardChoice.h"
#include "model/Isotope.h"
#include "model/RunOptions.h"

#include <QStringList>
#include <QWidget>

#include <array>

class Measurements;
class QCheckBox;
class QComboBox;

namespace Ui {
class ConfigurationTab;
}

// The run's options as the user sets them: the instrument, the IS
// correction, the blank, the weighting, the drift correction, the
// interference equations, QC validation and calibration acceptance. The boxes
// of names offer those of the export last read, against which the equations
// are checked.
class ConfigurationTab : public QWidget
{
    Q_OBJECT

public:
    explicit ConfigurationTab(QWidget *parent = nullptr);
    ~ConfigurationTab() override;

    ConfigurationTab(const ConfigurationTab &) = delete;
    ConfigurationTab &operator=(const ConfigurationTab &) = delete;

    RunOptions options() const;
    // Sets every option given, the instrument first; returns "name (box)"
    // for each name the boxes lack, whose boxes keep their choice. An
    // isotope or blank left empty is the first of its box, as in a run.
    QStringList setOptions(const RunOptions &options);
    // Offers the names of an export just read and of its working set. For a
    // file read whole (remembered given), the remembered isotopes and drift
    // monitor are chosen where it has them, then the choices made for the
    // earlier file; returns "name (box)" for each of those it lacks.
    QStringList offerNames(
        const Measurements &data, const Measurements &working, const RunOptions *remembered);
    InternalStandardChoice internalStandardChoice() const;
    // The refusal of each interference equation that does not hold for the
    // export read whole last and the IS isotopes chosen; none before one.
    QStringList equationRefusals() const;
    // Room for the whole page asked, or scrolling allowed again: the window
    // takes the size at which nothing of any tab is hidden.
    void askForWholePage(bool whole);

signals:
    // The open export is to be read again: the trace must never name one
    // instrument while the data came from the other.
    void instrumentChanged();
    void internalStandardIsotopesChanged(const InternalStandardChoice &choice);
    // The reference, the IS correction on or off, or the recovery bounds.
    void internalStandardChanged(const InternalStandardChoice &choice);
    // Any option changed, by the user or a method: results made before no
    // longer follow from the options shown.
    void optionsChanged();

private:
    void connectWidgets();
    void connectChanges();
    void chooseZeroStandard();
    void chooseSubtraction();
    void enableBlankSelection();
    void enableInternalStandardIsotopes();
    void setFlags(const RunOptions &options);
    QStringList selectNames(const RunOptions &options);
    void selectRemembered(const RunOptions &remembered);
    // The IS isotopes, then the reference, of texts where the boxes have
    // them; "name (box)" for each they lack.
    QStringList keepChoices(const QStringList &texts);
    // The drift monitor where the boxes have it; else the drift correction is
    // turned off, and said so as "name (box: …)".
    QString keepMonitor(const QString &monitor);
    QComboBox *isotopes(Isotope::Resolution group) const;
    // Hands the equations the names they may use now.
    void checkEquations();

    Ui::ConfigurationTab *ui;
    std::array<QCheckBox *, Isotope::GROUP_COUNT> m_corrections; // HR, MR, LR
    QStringList m_equationIsotopes; // of the export read whole last, as typed
};

#endif
