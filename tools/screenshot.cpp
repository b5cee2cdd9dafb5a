// Draws the README's pictures of the window: the high-resolution example
// processed with indium as internal standard, shown on the Calibration tab,
// then on the Results tab.
// Build and run with the CMake target `screenshots`; the image is kept in the
// repository so a normal build does not need this program.

#include "app/Application.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QListView>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

int fail(const QString &why)
{
    QTextStream(stderr) << "screenshot: " << why << '\n';
    return 1;
}

// Lets layouts and plots settle before the grab.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

// Indium as the internal standard of every group; what is missing, if anything.
QString chooseIndium(const Application &window)
{
    const struct
    {
        const char *combo;
        const char *isotope;
    } standards[]
        = { { "isotopeLR", "115In LR" }, { "isotopeMR", "115In MR" }, { "isotopeHR", "115In HR" } };
    for (const auto &standard : standards) {
        auto *combo = window.findChild<QComboBox *>(QString::fromLatin1(standard.combo));
        const int row = combo ? combo->findText(QString::fromLatin1(standard.isotope)) : -1;
        if (row == -1)
            return QStringLiteral("no %1 to choose").arg(standard.isotope);
        combo->setCurrentIndex(row);
    }
    return QString();
}

bool process(const Application &window)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == QStringLiteral("&Process") && action->isEnabled()) {
            action->trigger();
            return true;
        }
    }
    return false;
}

// The Calibration tab with 59Co chosen.
bool showCobalt(const Application &window)
{
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
    auto *calibration = window.findChild<QWidget *>(QStringLiteral("calibrationTab"));
    auto *isotopes = window.findChild<QListView *>(QStringLiteral("calibrationIsotopes"));
    const QModelIndexList cobalt = isotopes
        ? isotopes->model()->match(isotopes->model()->index(0, 0), Qt::DisplayRole,
            QStringLiteral("59Co"), 1, Qt::MatchStartsWith)
        : QModelIndexList();
    if (!tabs || !calibration || cobalt.isEmpty())
        return false;
    tabs->setCurrentWidget(calibration);
    isotopes->setCurrentIndex(cobalt.first());
    return true;
}

bool save(Application &window, const QString &image)
{
    if (!QDir().mkpath(QFileInfo(image).path()) || !window.grab().save(image, "PNG")) {
        fail(QStringLiteral("cannot write ") + image);
        return false;
    }
    QTextStream(stdout) << "wrote " << image << '\n';
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: screenshot <source folder>\n";
        return 2;
    }
    const QDir source(args.at(1));

    // The remembered standards file and isotopes go to a scratch store, not
    // to the user's settings.
    QTemporaryDir settings;
    if (!settings.isValid())
        return fail(QStringLiteral("no temporary folder for the settings"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    Application window;
    window.resize(1120, 700);
    window.show();

    // Closes each modal box as it opens; the run must show only the read
    // summary and the QC report, anything else is a failure worth seeing.
    QStringList boxes;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&boxes] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            boxes << dialog->windowTitle();
            dialog->accept();
        }
    });
    answerer.start(20);

    if (!window.loadDataFile(source.filePath(QStringLiteral("examples/hr_export.csv"))).ok()
        || !window.chooseStandardsFile(source.filePath(QStringLiteral("examples/hr_stdqc.csv")))
                .ok())
        return fail(QStringLiteral("cannot read the example files"));

    const QString chosen = chooseIndium(window);
    if (!chosen.isEmpty())
        return fail(chosen);
    if (!process(window))
        return fail(QStringLiteral("the Process command is not available"));
    const QStringList expected { QStringLiteral("Parsing CSV"),
        QStringLiteral("Quality Controls") };
    if (boxes != expected)
        return fail(QStringLiteral("unexpected boxes: ") + boxes.join(QStringLiteral(", ")));
    if (!showCobalt(window))
        return fail(QStringLiteral("no 59Co calibration to show"));
    settle();

    if (!save(window, source.filePath(QStringLiteral("docs/ketrion-window.png"))))
        return 1;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
    auto *results = window.findChild<QWidget *>(QStringLiteral("resultsTab"));
    if (!tabs || !results)
        return fail(QStringLiteral("no Results tab"));
    tabs->setCurrentWidget(results);
    settle();
    return save(window, source.filePath(QStringLiteral("docs/ketrion-results.png"))) ? 0 : 1;
}
