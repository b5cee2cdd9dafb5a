#ifndef KETRION_NUMBERREADER_H
#define KETRION_NUMBERREADER_H

#include <QString>
#include <QStringView>

// Tolerant reading of the numbers of a file, in the neutral, French or
// English convention, with the text that marks a value its file leaves undefined.
class NumberReader
{
public:
    static const QString NUMBER_ERROR;

    explicit NumberReader(const QString &notDefinedTag) : m_notDefinedTag(notDefinedTag) { }

    const QString &notDefinedTag() const { return m_notDefinedTag; }

    // An empty cell or the undefined-value tag reads as 0.0. The first French
    // or English success becomes the process default locale. When no
    // convention reads the text as a finite number ("nan", "inf", 1e400),
    // returns 0.0 and sets *ok to false: the reader must then reject the file,
    // never use the 0.0. A cell that reads as -0 gives 0.
    double read(QStringView text, bool *ok) const;

    // Message of a reader that met an unreadable number on a line (1-based).
    static QString numberError(int lineNumber, const QString &cell);

private:
    QString m_notDefinedTag;
};

#endif
