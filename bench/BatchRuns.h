#ifndef KETRION_BATCHRUNS_H
#define KETRION_BATCHRUNS_H

#include <QString>
#include <QStringList>

class PreviousFigures;
class QTextStream;

// Whole ketrion-batch runs over synthetic exports, each a process of its own
// timed from its start to its exit: what a lab's script waits for.
class BatchRuns
{
public:
    struct Figures
    {
        double wallMs = 0;
        double peakMb = 0; // the process's high-water mark of resident memory
        double fileMb = 0;
    };

    // program: the ketrion-batch to run; folder: where the files go.
    BatchRuns(const QString &program, const QString &folder);

    // The median of `repetitions` runs over an HR export of that size, after
    // one run not counted; false with a message on stderr when a run fails.
    bool measure(int solutions, int isotopes, int repetitions, Figures *figures) const;

    // Measures the whole-run sizes and a run with a sample sheet of blank
    // lines, and prints them beside the previous figures; false when a run
    // failed; met tells whether every target was.
    bool report(QTextStream &out, const PreviousFigures &previous, bool *met) const;

private:
    bool runOnce(const QStringList &arguments, Figures *figures) const;
    bool blankLineSheet(QTextStream &out, bool *met) const;

    QString m_program;
    QString m_folder;
};

#endif
