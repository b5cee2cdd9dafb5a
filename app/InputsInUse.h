#ifndef KETRION_INPUTSINUSE_H
#define KETRION_INPUTSINUSE_H

#include "model/RunOptions.h"

#include <QByteArray>
#include <QString>

class InputTab;
class QMainWindow;
class WarningBar;

// What the window works on, said where a user looks: the data file in the
// title, the standards file, sample sheet and method on the Input tab; and,
// above the tabs, when the results shown no longer follow from the options
// and files chosen since the last Process.
class InputsInUse
{
public:
    InputsInUse(QMainWindow *window, InputTab *input, WarningBar *warnings);

    // Empty: no data file loaded.
    void setExport(const QString &path);
    // The method opened, and the options it set.
    void setMethod(const QString &path, const RunOptions &options);
    // The results shown came from these options and the files chosen now;
    // null: no results.
    void setProcessed(const RunOptions *options);
    // Says it all again for the options set now.
    void update(const RunOptions &options);

private:
    // "the options and the sample sheet"; empty when the results follow.
    QString changedSinceRun(const QByteArray &method) const;

    QMainWindow *m_window;
    InputTab *m_input;
    WarningBar *m_warnings;
    QString m_title; // the window's own, without a data file
    QString m_method;
    QByteArray m_methodOptions; // as a method file writes them
    bool m_processed = false;
    QByteArray m_runOptions;
    QString m_runStandards;
    QString m_runSheet;
};

#endif
