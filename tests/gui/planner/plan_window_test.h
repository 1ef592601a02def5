#pragma once
#include <QObject>

class PlanWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();
    void opensWithThePlankListAndNamedControls();
    void explainsWhyThereIsNoList();
    void keepsItsFieldsInPlannerIni();
    void calculatePrintsEveryPageAndPreviewsThem();
    void marksCanBeSwitchedOff();
    void showsTheMouseInWorldCoordinates();
    void keyboardAndScreenReadersReachEverything();
    void exportWritesEveryPlankAsADrawing();
    void exportStartsWhereTheLastExportWent();
    void pickingAPlankPreviewsItsTemplate();
    void createSawPlansPressedAgainStartsNoSecondDialog();
    void createSawPlansRunsThePrintDialogThenTheWindow();
    void cancelledPrintDialogOpensNoWindow();
    void createSawPlansTakesTheProgramsSplineFile();
    void printedAxisLineIsAsLongAsTheTemplate();
};
