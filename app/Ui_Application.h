#ifndef KETRION_UI_APPLICATION_H
#define KETRION_UI_APPLICATION_H

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenuBar;
class QScrollArea;
class QSpacerItem;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTableView;
class QToolBar;
class QVBoxLayout;
class QWidget;
class QwtPlot;

// The main window's widgets, built in code. Object names are the ones every
// slot and the display object rely on.
class Ui_Application
{
public:
    QWidget *centralWidget;
    QVBoxLayout *verticalLayout;
    QTabWidget *tabs;

    QWidget *tab_input;
    QHBoxLayout *horizontalLayout_input;
    QListWidget *listViewInput;
    QTableView *tableViewInput;

    QWidget *tab_config;
    QVBoxLayout *verticalLayout_config;
    QScrollArea *scrollArea;
    QWidget *scrollAreaWidgetContents;
    QVBoxLayout *verticalLayout_groups;

    QGroupBox *icpms_config;
    QHBoxLayout *horizontalLayout_icpms;
    QLabel *label;
    QComboBox *icpmsModel;
    QSpacerItem *horizontalSpacer_icpms;

    QHBoxLayout *internStdCorrection;
    QGroupBox *correctionIS;
    QHBoxLayout *horizontalLayout_correctionIS;
    QLabel *label_5;
    QComboBox *echantIS;
    QVBoxLayout *verticalLayout_correctIS;
    QCheckBox *correctISLR;
    QCheckBox *correctISMR;
    QCheckBox *correctISHR;
    QSpacerItem *horizontalSpacer_internStd;
    QGroupBox *groupBox;
    QHBoxLayout *horizontalLayout_groupBox;
    QVBoxLayout *verticalLayout_isLabels;
    QLabel *label_3;
    QLabel *label_6;
    QLabel *label_4;
    QVBoxLayout *verticalLayout_isCombos;
    QComboBox *comboISLR;
    QComboBox *comboISMR;
    QComboBox *comboISHR;
    QVBoxLayout *verticalLayout_recovery;
    QLabel *labelRecovery;
    QHBoxLayout *horizontalLayout_recoveryBounds;
    QSpinBox *recoveryLow;
    QLabel *labelRecoveryTo;
    QSpinBox *recoveryHigh;
    QSpacerItem *horizontalSpacer_groupBox;

    QGroupBox *LinearRegression;
    QHBoxLayout *horizontalLayout_regression;
    QVBoxLayout *verticalLayout_blankOptions;
    QCheckBox *yIntercept;
    QCheckBox *subBlank;
    QLabel *label_8;
    QComboBox *blankSelection;
    QLabel *labelWeighting;
    QComboBox *weighting;
    QSpacerItem *horizontalSpacer_regression;

    QGroupBox *controlQC;
    QHBoxLayout *horizontalLayout_controlQC;
    QLabel *labelQC;
    QSpacerItem *verticalSpacer_config;

    QWidget *tabElmnt;
    QHBoxLayout *horizontalLayout_calibration;
    QListWidget *listCurves;
    QwtPlot *graphElement;

    QWidget *tabIS;
    QVBoxLayout *verticalLayout_IS;
    QHBoxLayout *horizontalLayout_ISHeader;
    QSpacerItem *horizontalSpacer_IS;
    QLabel *label_2;
    QComboBox *plotISchoice;
    QwtPlot *graphIS;

    QWidget *tabEvol;
    QVBoxLayout *verticalLayout_evol;
    QHBoxLayout *horizontalLayout_evolHeader;
    QSpacerItem *horizontalSpacer_evol;
    QLabel *label_7;
    QComboBox *evolChoice;
    QHBoxLayout *horizontalLayout_evol;
    QListWidget *listEvol;
    QwtPlot *graphEvol;

    QWidget *tab_output;
    QHBoxLayout *horizontalLayout_output;
    QListWidget *listViewOutput;
    QTableView *tableViewOutput;

    QMenuBar *menuBar;
    QToolBar *toolBar;
    QStatusBar *statusBar;

    void setupUi(QMainWindow *Application);
    void retranslateUi(QMainWindow *Application);
};

namespace Ui {
class Application : public Ui_Application
{
};
} // namespace Ui

#endif
