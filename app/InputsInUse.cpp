#include "app/InputsInUse.h"

#include "app/InputTab.h"
#include "app/Settings.h"
#include "app/WarningBar.h"
#include "parsers/MethodFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMainWindow>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("InputsInUse", text);
}

QString nameOr(const QString &path, const QString &none)
{
    return path.isEmpty() ? none : QFileInfo(path).fileName();
}

} // namespace

InputsInUse::InputsInUse(QMainWindow *window, InputTab *input, WarningBar *warnings)
    : m_window(window), m_input(input), m_warnings(warnings), m_title(window->windowTitle())
{ }

void InputsInUse::setExport(const QString &path)
{
    m_window->setWindowTitle(
        path.isEmpty() ? m_title : QFileInfo(path).fileName() + QStringLiteral(" — Ketrion"));
}

void InputsInUse::setMethod(const QString &path, const RunOptions &options)
{
    m_method = path;
    m_methodOptions = MethodFile::write(options);
}

void InputsInUse::setProcessed(const RunOptions *options)
{
    m_processed = options != nullptr;
    m_runOptions = options ? MethodFile::write(*options) : QByteArray();
    m_runStandards = Settings::standardsFile();
    m_runSheet = Settings::sampleSheet();
}

void InputsInUse::update(const RunOptions &options)
{
    const QByteArray method = MethodFile::write(options);
    QString methodText = nameOr(m_method, tr("none (the options as set)"));
    if (!m_method.isEmpty() && method != m_methodOptions)
        methodText += tr(" (options changed since)");
    m_input->showFiles(tr("Standards file: %1 · Sample sheet: %2 · Method: %3")
                           .arg(nameOr(Settings::standardsFile(), tr("none chosen")),
                               nameOr(Settings::sampleSheet(), tr("none (factor 1)")), methodText));
    const QString changed = changedSinceRun(method);
    m_warnings->say(WarningBar::Subject::Results,
        changed.isEmpty() ? QStringList()
                          : QStringList(tr("The results are out of date: %1 changed since the "
                                           "last Process.")
                                            .arg(changed)));
}

QString InputsInUse::changedSinceRun(const QByteArray &method) const
{
    if (!m_processed)
        return QString();
    QStringList changed;
    if (method != m_runOptions)
        changed << tr("the options");
    if (Settings::standardsFile() != m_runStandards)
        changed << tr("the standards file");
    if (Settings::sampleSheet() != m_runSheet)
        changed << tr("the sample sheet");
    if (changed.size() < 2)
        return changed.value(0);
    return changed.mid(0, changed.size() - 1).join(QStringLiteral(", ")) + tr(" and ")
        + changed.last();
}
