#ifndef KETRION_WARNINGBAR_H
#define KETRION_WARNINGBAR_H

#include <QFrame>
#include <QMap>
#include <QStringList>

class QLabel;

// Messages that matter, above the tabs until dismissed or mended: what an
// export lacks, what a run had to leave out, results out of date. Each
// subject's lines replace that subject's earlier ones; the status bar, which
// the next hover erases, is no place for them.
class WarningBar : public QFrame
{
    Q_OBJECT

public:
    enum class Subject { Export, SampleSheet, Run, Results };

    explicit WarningBar(QWidget *parent = nullptr);

    // No lines mends the subject.
    void say(Subject subject, const QStringList &lines);
    // Every line shown, subject by subject.
    QStringList lines() const;
    QStringList lines(Subject subject) const { return m_lines.value(subject); }

private:
    void dismiss();
    void update();

    QLabel *m_text;
    QMap<Subject, QStringList> m_lines;
};

#endif
