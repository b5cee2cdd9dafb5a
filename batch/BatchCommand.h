#ifndef KETRION_BATCHCOMMAND_H
#define KETRION_BATCHCOMMAND_H

#include "display/PlotImage.h"
#include "model/RunOptions.h"
#include "model/Status.h"
#include "processing/RunOutcome.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class QCommandLineParser;

// The command line of ketrion-batch: the files, and the run's options as
// the window would set them. Names stay names here: only the data file tells
// which solutions and isotopes exist.
class BatchCommand
{
public:
    static QString usage();

    // The arguments without the program name; a refusal has a one-line reason.
    Status parse(const QStringList &arguments);
    // The usage error of a run refused for a name the export lacks: the
    // option that gave it, or the method file when no option did.
    QString unknownName(const RunOutcome &outcome) const;

    bool help = false;
    bool version = false;
    QString dataFile;
    QString standardsFile;
    QString outputFile;
    QString longFile; // empty: no long table
    QString reportFile; // empty: no run report
    QString workbookFile; // empty: no workbook
    QString plotFolder; // empty: no plots
    QString sampleSheet; // empty: none
    QString templateFile; // a sample sheet to write instead of a run
    QString methodFile; // read before the other options, which override it
    QString saveMethodFile; // the method of the options, written instead of a run
    PlotImage::Format plotFormat = PlotImage::Format::Png;
    RunOptions options;

    // One option of the command line.
    struct Option;
    // Every option but --help and --version, in the order they are checked
    // and listed: the instrument, the files, the run's options, then the
    // commands that replace a run.
    static const QVector<Option> &commandOptions();

    // Refuses an output that names an input or an earlier output.
    Status claim(const QString &option, const QString &path);
    void claimInputs(const QStringList &paths);
    // Refuses an input that names an earlier output.
    Status claimAsInput(const QString &path);

private:
    Status readMethod(const QString &path);
    Status checkGroups(const QCommandLineParser &parser) const;

    QStringList m_typed; // the options given on the command line
    QStringList m_inputs;
    QList<QPair<QString, QString>> m_outputs; // option and file
};

#endif
