#ifndef KETRION_RUNREPORT_H
#define KETRION_RUNREPORT_H

#include "display/ReportPages.h"
#include "model/RunOptions.h"
#include "processing/RunInputs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class Measurements;
struct RunOutcome;

// The report a lab signs for one run, as an A4 PDF with selectable text: an
// identifier, the inputs with their SHA-256, the method in words, the
// calibration, QC, IS recovery, drift and acceptance, the reported results,
// the calibration plots, the warnings and room for the review. Built from
// plain values only, so that the window and ketrion-batch give the same text
// for the same run but for its date. Needs the GUI application object.
class RunReport
{
public:
    using Input = RunInputs::File;

    // data is the export as read, the one the run was given.
    RunReport(const QVector<Input> &inputs, const RunOptions &options, const Measurements &data,
        const RunOutcome &outcome);

    // The first 12 hex digits of SHA-256 over each input's SHA-256 and size,
    // in order, then the text of the run's method as a method file holds it.
    const QString &identifier() const { return m_identifier; }
    // The whole document; empty when progress stopped it, as told each page
    // begun (the pages in all 0 while they are counted).
    QByteArray pdf(const ReportPages::Progress &progress = nullptr) const;

private:
    void draw(ReportPages &pages) const;
    void drawInputs(ReportPages &pages) const;
    QStringList methodLines() const;
    void drawCalibration(ReportPages &pages) const;
    void drawQualityControl(ReportPages &pages) const;
    void drawChecks(ReportPages &pages) const;
    void drawPlots(ReportPages &pages) const;
    void drawClosing(ReportPages &pages) const;

    QVector<Input> m_inputs;
    RunOptions m_method;
    const Measurements &m_data;
    const RunOutcome &m_outcome;
    QString m_identifier;
};

#endif
