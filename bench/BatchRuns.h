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
    // The middle size's run beside pandas reading the same export, and reading
    // and writing it; nothing but a note when pandas is not installed.
    bool compareWithPandas(QTextStream &out, bool *met) const;

private:
    bool runOnce(const QStringList &arguments, Figures *figures) const;
    // Any program, found on the PATH; false when it fails.
    static bool runProgram(const QString &program, const QStringList &arguments, Figures *figures);
    // The median wall time of a command over `repetitions` runs after one.
    static double medianWall(const QString &program, const QStringList &arguments, bool *ran);
    bool blankLineSheet(QTextStream &out, bool *met) const;

    QString m_program;
    QString m_folder;
};

#endif
