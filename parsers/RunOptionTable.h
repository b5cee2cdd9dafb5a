#ifndef KETRION_RUNOPTIONTABLE_H
#define KETRION_RUNOPTIONTABLE_H

#include "model/RunOptions.h"
#include "model/Status.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Every option of a run described once: its command-line flag and help text,
// its members in a method file, how each is read and written, and what the
// run report says of it. ketrion-batch, the method file and the report all
// go through this table; the rules of the values are RunOptions::check()'s.
class RunOptionTable
{
public:
    // One member of a method file.
    struct Member
    {
        QString name;
        // Undefined: not written, the member being at its absent value.
        std::function<QJsonValue(const RunOptions &)> write;
        // Sets the value read; the reason in a method file's words when it
        // is of the wrong kind. A number of the right kind but out of range
        // is set as it is, for RunOptions::check() to refuse.
        std::function<QString(const QJsonValue &, RunOptions *)> read;
        // What a method that leaves the member out means, so that methods
        // written before the option still open; undefined: required.
        QJsonValue absent = QJsonValue::Undefined;
    };

    // One option, as a user names it on the command line.
    struct Row
    {
        QString flag; // without its dashes
        QString valueName; // empty for a switch
        QString help; // lines as the help prints them, without their indent
        QVector<Member> members;
        // Sets the options from the command line's value, or refuses it in
        // the command line's words.
        std::function<Status(const QString &value, RunOptions *options)> parse;
        // The command line's words when a parsed value breaks a rule of
        // RunOptions::check(); %1 is the value as given.
        QString invalid;
        // The lines of the run report's method section; none when another
        // option's lines say it.
        std::function<QStringList(const RunOptions &)> describe;
        // Refused on the command line without --is-ref.
        bool needsReference = false;
        // A list, given once per value: parse is handed every value in
        // order, after reset(), so that the command line's list replaces a
        // method's.
        bool repeated = false;
        // Instead of describe, for the QC's limits: the lines of the QC that
        // applied, the run's (check roles) and the batch's (preparations).
        std::function<QStringList(const RunOptions &, bool runQc, bool batchQc)> describeQc
            = nullptr;

        bool owns(const QString &member) const;
        // Sets the members to their absent values.
        void reset(RunOptions *options) const;
    };

    // In the order the command line checks them and the report lists them.
    static const QVector<Row> &rows();
    // The row of a command-line flag, or null.
    static const Row *find(const QString &flag);
    // Every member of a method file, in the order of the rows.
    static QStringList memberNames();
};

#endif
