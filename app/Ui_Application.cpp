#include "app/Ui_Application.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QSpacerItem>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <qwt_plot.h>

namespace {

// Top layout of a widget or group: spacing 6, margins 11.
template<typename Layout> Layout *topLayout(QWidget *owner, const char *name)
{
    auto *layout = new Layout(owner);
    layout->setObjectName(QString::fromLatin1(name));
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);
    return layout;
}

// Nested layout: spacing 6, the margins come from its parent layout.
template<typename Layout> Layout *innerLayout(const char *name)
{
    auto *layout = new Layout();
    layout->setObjectName(QString::fromLatin1(name));
    layout->setSpacing(6);
    return layout;
}

template<typename Widget> Widget *named(QWidget *parent, const char *name)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QwtPlot *newPlot(QWidget *parent, const char *name)
{
    auto *plot = named<QwtPlot>(parent, name);
    QSizePolicy policy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    plot->setSizePolicy(policy);
    // Qwt's size hint grows with the tick count (one tick per solution on the
    // running-order plots); taken as the floor it widens the window past the screen.
    plot->setMinimumSize(300, 200);
    return plot;
}

QSpacerItem *expandingHorizontal()
{
    return new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

} // namespace

void Ui_Application::setupUi(QMainWindow *Application)
{
    if (Application->objectName().isEmpty())
        Application->setObjectName(QStringLiteral("Application"));
    Application->resize(818, 535);
    QFont font;
    font.setPointSize(10);
    Application->setFont(font);
    Application->setWindowIcon(QIcon(QStringLiteral(":/res/ketrion.png")));
    Application->setWindowOpacity(1.0);

    centralWidget = named<QWidget>(Application, "centralWidget");
    verticalLayout = topLayout<QVBoxLayout>(centralWidget, "verticalLayout");
    tabs = named<QTabWidget>(centralWidget, "tabs");

    // Input
    tab_input = named<QWidget>(nullptr, "tab_input");
    horizontalLayout_input = topLayout<QHBoxLayout>(tab_input, "horizontalLayout_input");
    listViewInput = named<QListWidget>(tab_input, "listViewInput");
    listViewInput->setMaximumWidth(150);
    horizontalLayout_input->addWidget(listViewInput);
    tableViewInput = named<QTableView>(tab_input, "tableViewInput");
    horizontalLayout_input->addWidget(tableViewInput);
    tabs->addTab(tab_input, QString());

    // Configuration
    tab_config = named<QWidget>(nullptr, "tab_config");
    verticalLayout_config = topLayout<QVBoxLayout>(tab_config, "verticalLayout_config");
    scrollArea = named<QScrollArea>(tab_config, "scrollArea");
    scrollArea->setWidgetResizable(true);
    scrollAreaWidgetContents = named<QWidget>(nullptr, "scrollAreaWidgetContents");
    verticalLayout_groups
        = topLayout<QVBoxLayout>(scrollAreaWidgetContents, "verticalLayout_groups");

    icpms_config = named<QGroupBox>(scrollAreaWidgetContents, "icpms_config");
    horizontalLayout_icpms = topLayout<QHBoxLayout>(icpms_config, "horizontalLayout_icpms");
    label = named<QLabel>(icpms_config, "label");
    horizontalLayout_icpms->addWidget(label);
    icpmsModel = named<QComboBox>(icpms_config, "icpmsModel");
    horizontalLayout_icpms->addWidget(icpmsModel);
    horizontalSpacer_icpms = expandingHorizontal();
    horizontalLayout_icpms->addItem(horizontalSpacer_icpms);
    verticalLayout_groups->addWidget(icpms_config);

    internStdCorrection = innerLayout<QHBoxLayout>("internStdCorrection");
    correctionIS = named<QGroupBox>(scrollAreaWidgetContents, "correctionIS");
    correctionIS->setCheckable(true);
    correctionIS->setChecked(true);
    horizontalLayout_correctionIS
        = topLayout<QHBoxLayout>(correctionIS, "horizontalLayout_correctionIS");
    label_5 = named<QLabel>(correctionIS, "label_5");
    horizontalLayout_correctionIS->addWidget(label_5);
    echantIS = named<QComboBox>(correctionIS, "echantIS");
    echantIS->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    horizontalLayout_correctionIS->addWidget(echantIS);
    verticalLayout_correctIS = innerLayout<QVBoxLayout>("verticalLayout_correctIS");
    correctISLR = named<QCheckBox>(correctionIS, "correctISLR");
    correctISLR->setChecked(true);
    verticalLayout_correctIS->addWidget(correctISLR);
    correctISMR = named<QCheckBox>(correctionIS, "correctISMR");
    correctISMR->setChecked(true);
    verticalLayout_correctIS->addWidget(correctISMR);
    correctISHR = named<QCheckBox>(correctionIS, "correctISHR");
    correctISHR->setChecked(true);
    verticalLayout_correctIS->addWidget(correctISHR);
    horizontalLayout_correctionIS->addLayout(verticalLayout_correctIS);
    internStdCorrection->addWidget(correctionIS);

    horizontalSpacer_internStd = new QSpacerItem(40, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
    internStdCorrection->addItem(horizontalSpacer_internStd);

    groupBox = named<QGroupBox>(scrollAreaWidgetContents, "groupBox");
    horizontalLayout_groupBox = topLayout<QHBoxLayout>(groupBox, "horizontalLayout_groupBox");
    verticalLayout_isLabels = innerLayout<QVBoxLayout>("verticalLayout_isLabels");
    label_3 = named<QLabel>(groupBox, "label_3");
    verticalLayout_isLabels->addWidget(label_3);
    label_6 = named<QLabel>(groupBox, "label_6");
    verticalLayout_isLabels->addWidget(label_6);
    label_4 = named<QLabel>(groupBox, "label_4");
    verticalLayout_isLabels->addWidget(label_4);
    horizontalLayout_groupBox->addLayout(verticalLayout_isLabels);
    verticalLayout_isCombos = innerLayout<QVBoxLayout>("verticalLayout_isCombos");
    comboISLR = named<QComboBox>(groupBox, "comboISLR");
    comboISLR->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    comboISMR = named<QComboBox>(groupBox, "comboISMR");
    comboISMR->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    comboISHR = named<QComboBox>(groupBox, "comboISHR");
    for (QComboBox *combo : { comboISLR, comboISMR, comboISHR }) {
        combo->setMaxVisibleItems(10);
        combo->setFrame(true);
        verticalLayout_isCombos->addWidget(combo);
    }
    horizontalLayout_groupBox->addLayout(verticalLayout_isCombos);
    horizontalLayout_groupBox->addSpacing(20);
    verticalLayout_recovery = innerLayout<QVBoxLayout>("verticalLayout_recovery");
    labelRecovery = named<QLabel>(groupBox, "labelRecovery");
    verticalLayout_recovery->addWidget(labelRecovery);
    horizontalLayout_recoveryBounds = innerLayout<QHBoxLayout>("horizontalLayout_recoveryBounds");
    recoveryLow = named<QSpinBox>(groupBox, "recoveryLow");
    horizontalLayout_recoveryBounds->addWidget(recoveryLow);
    labelRecoveryTo = named<QLabel>(groupBox, "labelRecoveryTo");
    horizontalLayout_recoveryBounds->addWidget(labelRecoveryTo);
    recoveryHigh = named<QSpinBox>(groupBox, "recoveryHigh");
    horizontalLayout_recoveryBounds->addWidget(recoveryHigh);
    for (QSpinBox *bound : { recoveryLow, recoveryHigh }) {
        bound->setRange(0, 1000);
        bound->setSuffix(QStringLiteral(" %"));
    }
    labelRecovery->setBuddy(recoveryLow);
    verticalLayout_recovery->addLayout(horizontalLayout_recoveryBounds);
    verticalLayout_recovery->addStretch();
    horizontalLayout_groupBox->addLayout(verticalLayout_recovery);
    horizontalSpacer_groupBox = expandingHorizontal();
    horizontalLayout_groupBox->addItem(horizontalSpacer_groupBox);
    internStdCorrection->addWidget(groupBox);
    verticalLayout_groups->addLayout(internStdCorrection);

    LinearRegression = named<QGroupBox>(scrollAreaWidgetContents, "LinearRegression");
    horizontalLayout_regression
        = topLayout<QHBoxLayout>(LinearRegression, "horizontalLayout_regression");
    verticalLayout_blankOptions = innerLayout<QVBoxLayout>("verticalLayout_blankOptions");
    yIntercept = named<QCheckBox>(LinearRegression, "yIntercept");
    yIntercept->setChecked(true);
    yIntercept->setAutoExclusive(false);
    verticalLayout_blankOptions->addWidget(yIntercept);
    subBlank = named<QCheckBox>(LinearRegression, "subBlank");
    subBlank->setChecked(false);
    subBlank->setAutoExclusive(false);
    verticalLayout_blankOptions->addWidget(subBlank);
    horizontalLayout_regression->addLayout(verticalLayout_blankOptions);
    label_8 = named<QLabel>(LinearRegression, "label_8");
    horizontalLayout_regression->addWidget(label_8);
    blankSelection = named<QComboBox>(LinearRegression, "blankSelection");
    horizontalLayout_regression->addWidget(blankSelection);
    horizontalLayout_regression->addSpacing(20);
    labelWeighting = named<QLabel>(LinearRegression, "labelWeighting");
    horizontalLayout_regression->addWidget(labelWeighting);
    weighting = named<QComboBox>(LinearRegression, "weighting");
    labelWeighting->setBuddy(weighting);
    horizontalLayout_regression->addWidget(weighting);
    horizontalSpacer_regression = expandingHorizontal();
    horizontalLayout_regression->addItem(horizontalSpacer_regression);
    verticalLayout_groups->addWidget(LinearRegression);

    controlQC = named<QGroupBox>(scrollAreaWidgetContents, "controlQC");
    controlQC->setFlat(false);
    controlQC->setCheckable(true);
    controlQC->setChecked(true);
    horizontalLayout_controlQC = topLayout<QHBoxLayout>(controlQC, "horizontalLayout_controlQC");
    labelQC = named<QLabel>(controlQC, "labelQC");
    horizontalLayout_controlQC->addWidget(labelQC);
    verticalLayout_groups->addWidget(controlQC);

    verticalSpacer_config = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout_groups->addItem(verticalSpacer_config);
    scrollArea->setWidget(scrollAreaWidgetContents);
    verticalLayout_config->addWidget(scrollArea);
    tabs->addTab(tab_config, QString());

    // Calibration
    tabElmnt = named<QWidget>(nullptr, "tabElmnt");
    horizontalLayout_calibration = topLayout<QHBoxLayout>(tabElmnt, "horizontalLayout_calibration");
    listCurves = named<QListWidget>(tabElmnt, "listCurves");
    listCurves->setMaximumWidth(120);
    horizontalLayout_calibration->addWidget(listCurves);
    graphElement = newPlot(tabElmnt, "graphElement");
    horizontalLayout_calibration->addWidget(graphElement);
    tabs->addTab(tabElmnt, QString());

    // Internal Standard
    tabIS = named<QWidget>(nullptr, "tabIS");
    verticalLayout_IS = topLayout<QVBoxLayout>(tabIS, "verticalLayout_IS");
    horizontalLayout_ISHeader = innerLayout<QHBoxLayout>("horizontalLayout_ISHeader");
    horizontalSpacer_IS = expandingHorizontal();
    horizontalLayout_ISHeader->addItem(horizontalSpacer_IS);
    label_2 = named<QLabel>(tabIS, "label_2");
    horizontalLayout_ISHeader->addWidget(label_2);
    plotISchoice = named<QComboBox>(tabIS, "plotISchoice");
    plotISchoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    horizontalLayout_ISHeader->addWidget(plotISchoice);
    verticalLayout_IS->addLayout(horizontalLayout_ISHeader);
    graphIS = newPlot(tabIS, "graphIS");
    verticalLayout_IS->addWidget(graphIS);
    tabs->addTab(tabIS, QString());

    // Signal evolution
    tabEvol = named<QWidget>(nullptr, "tabEvol");
    verticalLayout_evol = topLayout<QVBoxLayout>(tabEvol, "verticalLayout_evol");
    horizontalLayout_evolHeader = innerLayout<QHBoxLayout>("horizontalLayout_evolHeader");
    horizontalSpacer_evol = expandingHorizontal();
    horizontalLayout_evolHeader->addItem(horizontalSpacer_evol);
    label_7 = named<QLabel>(tabEvol, "label_7");
    horizontalLayout_evolHeader->addWidget(label_7);
    evolChoice = named<QComboBox>(tabEvol, "evolChoice");
    evolChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    horizontalLayout_evolHeader->addWidget(evolChoice);
    verticalLayout_evol->addLayout(horizontalLayout_evolHeader);
    horizontalLayout_evol = innerLayout<QHBoxLayout>("horizontalLayout_evol");
    listEvol = named<QListWidget>(tabEvol, "listEvol");
    listEvol->setMaximumWidth(120);
    horizontalLayout_evol->addWidget(listEvol);
    graphEvol = newPlot(tabEvol, "graphEvol");
    horizontalLayout_evol->addWidget(graphEvol);
    verticalLayout_evol->addLayout(horizontalLayout_evol);
    tabs->addTab(tabEvol, QString());

    // Output
    tab_output = named<QWidget>(nullptr, "tab_output");
    horizontalLayout_output = topLayout<QHBoxLayout>(tab_output, "horizontalLayout_output");
    listViewOutput = named<QListWidget>(tab_output, "listViewOutput");
    listViewOutput->setMaximumWidth(150);
    horizontalLayout_output->addWidget(listViewOutput);
    tableViewOutput = named<QTableView>(tab_output, "tableViewOutput");
    horizontalLayout_output->addWidget(tableViewOutput);
    tabs->addTab(tab_output, QString());

    verticalLayout->addWidget(tabs);
    Application->setCentralWidget(centralWidget);

    menuBar = named<QMenuBar>(Application, "menuBar");
    Application->setMenuBar(menuBar);
    toolBar = named<QToolBar>(Application, "toolBar");
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Application->addToolBar(Qt::TopToolBarArea, toolBar);
    statusBar = named<QStatusBar>(Application, "statusBar");
    statusBar->setContextMenuPolicy(Qt::ActionsContextMenu);
    Application->setStatusBar(statusBar);

    retranslateUi(Application);

    tabs->setCurrentIndex(1);

    QMetaObject::connectSlotsByName(Application);
}

void Ui_Application::retranslateUi(QMainWindow *Application)
{
    Application->setWindowTitle(
        QCoreApplication::translate("Application", "Ketrion - ICP-MS Data Processing"));
    tabs->setTabText(tabs->indexOf(tab_input), QCoreApplication::translate("Application", "Input"));
    tabs->setTabText(
        tabs->indexOf(tab_config), QCoreApplication::translate("Application", "Configuration"));
    tabs->setTabText(
        tabs->indexOf(tabElmnt), QCoreApplication::translate("Application", "Calibration"));
    tabs->setTabText(
        tabs->indexOf(tabIS), QCoreApplication::translate("Application", "Internal Standard"));
    tabs->setTabText(
        tabs->indexOf(tabEvol), QCoreApplication::translate("Application", "Signal evolution"));
    tabs->setTabText(
        tabs->indexOf(tab_output), QCoreApplication::translate("Application", "Output"));

    icpms_config->setTitle(QCoreApplication::translate("Application", "ICP-MS Selection"));
    label->setText(QCoreApplication::translate("Application", "Instrument"));
    correctionIS->setTitle(
        QCoreApplication::translate("Application", "Internal Standard normalization"));
    label_5->setText(QCoreApplication::translate("Application", "IS Reference Solution"));
    correctISLR->setText(QCoreApplication::translate("Application", "Correction IS LR"));
    correctISMR->setText(QCoreApplication::translate("Application", "Correction IS MR"));
    correctISHR->setText(QCoreApplication::translate("Application", "Correction IS HR"));
    groupBox->setTitle(QCoreApplication::translate("Application", "Internal Standard Element"));
    label_3->setText(QCoreApplication::translate("Application", "IS - LR"));
    label_6->setText(QCoreApplication::translate("Application", "IS - MR"));
    label_4->setText(QCoreApplication::translate("Application", "IS - HR"));
    labelRecovery->setText(QCoreApplication::translate("Application", "IS recovery window"));
    labelRecoveryTo->setText(QCoreApplication::translate("Application", "to"));
    LinearRegression->setTitle(QCoreApplication::translate("Application", "Linear Regression"));
    yIntercept->setText(QCoreApplication::translate("Application", "Y-intercept for calibration"));
    subBlank->setText(QCoreApplication::translate("Application", "Subtract Blank"));
    label_8->setText(QCoreApplication::translate("Application", "Blank selection"));
    labelWeighting->setText(QCoreApplication::translate("Application", "Weighting"));
    controlQC->setTitle(QCoreApplication::translate("Application", "Quality Control validation"));
    labelQC->setText(QCoreApplication::translate(
        "Application", "Satisfaction Interval = Error on QC concentration value"));
    label_2->setText(QCoreApplication::translate("Application", "IS Resolution Selection"));
    label_7->setText(QCoreApplication::translate("Application", "Signal evolution of"));
    toolBar->setWindowTitle(QCoreApplication::translate("Application", "toolBar"));
}
