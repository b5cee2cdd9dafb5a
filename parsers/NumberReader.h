#ifndef KETRION_NUMBERREADER_H
#define KETRION_NUMBERREADER_H

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <string_view>

// Tolerant reading of the numbers of a file, in the neutral, French or
// English convention, with the text that marks a value its file leaves undefined.
class NumberReader
{
public:
    static const QString NUMBER_ERROR;

    explicit NumberReader(const QString &notDefinedTag);

    const QString &notDefinedTag() const { return m_notDefinedTag; }
    std::string_view notDefinedUtf8() const
    {
        return std::string_view(m_notDefinedUtf8.constData(), size_t(m_notDefinedUtf8.size()));
    }

    // An empty cell or the undefined-value tag reads as 0.0. The first French
    // or English success becomes the process default locale. When no
    // convention reads the text as a finite number ("nan", "inf", 1e400),
    // returns 0.0 and sets *ok to false: the reader must then reject the file,
    // never use the 0.0. A cell that reads as -0 gives 0.
    double read(QStringView text, bool *ok) const;
    // The same for a cell of a TextFile's lines.
    double read(std::string_view utf8, bool *ok) const;
    // The cells that read alike in every convention and switch none: empty,
    // the tag, or a plain decimal such as "120", "4.5" or "-0.25". False, with
    // *value untouched, when the cell needs read().
    bool readAtOnce(std::string_view utf8, double *value) const;

    // Message of a reader that met an unreadable number on a line (1-based).
    static QString numberError(int lineNumber, const QString &cell);

private:
    QString m_notDefinedTag;
    QByteArray m_notDefinedUtf8;
};

#endif
