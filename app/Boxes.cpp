#include "app/Boxes.h"

#include "processing/RunOutcome.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Application", text);
}

} // namespace

bool Boxes::showRefusal(QWidget *parent, const RunOutcome &outcome)
{
    switch (outcome.refusal) {
    case RunOutcome::Refusal::None:
        return false;
    case RunOutcome::Refusal::NoStandardsFile:
        QMessageBox::warning(parent, tr("Read QC-STD File"), outcome.reason);
        break;
    case RunOutcome::Refusal::StandardsUnreadable:
        QMessageBox::warning(parent, tr("Read File"), outcome.reason);
        break;
    case RunOutcome::Refusal::StandardsRejected:
        QMessageBox::information(parent, tr("Parsing CSV"), outcome.reason);
        break;
    case RunOutcome::Refusal::SampleSheetRejected:
        QMessageBox::warning(parent, tr("Sample Sheet"), outcome.reason);
        break;
    case RunOutcome::Refusal::UnknownName:
    case RunOutcome::Refusal::ReferenceWithoutStandard:
    case RunOutcome::Refusal::NoCalibration:
        QMessageBox::warning(parent, tr("Process"), outcome.reason);
        break;
    }
    return true;
}

void Boxes::showAbout(QWidget *parent)
{
    QMessageBox::about(parent, tr("About Ketrion Application"),
        tr("<p>Ketrion: <b>ICP-MS Data Processing v%1</b></p>"
           "<p>Application to process ICP-MS data.</p>"
           "<p><b>Designed by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>"
           "<p><b>Maintain by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>")
            .arg(QStringLiteral(KETRION_VERSION)));
}
