#pragma once
#include <QObject>

class MainWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void showsEveryTabFieldAndDefault();
    void firstRunCreatesTheDataFolderAndAnEmptyLog();
    void toothFileChosenFirstKeepsWholeSettings();
    void stateFileMatchesTheCommandLineToTheByte();
    void saveAndRestoreThroughTheWindow();
    void restoreStopsAtTheFirstMissingMember();
    void emptyStateFileChangesNothing();
    void toothFileSurvivesARestart();
    void logSwitchesAndTheStartMessage();
    void saveSettingsFailureIsReported();
    void fingerJointButtonsWriteTheProgramAndToothFile();
    void fieldErrorIsShownAndTheWindowStaysUsable();
    void desktopDocumentsFolderIsMadeForTheFirstJob();
    void documentsFolderIsTheOneTheCommandLineUses();
    void axisSelectorsOfferTheRotaryLetters();
    void axisSelectorsAreNamedByTheirLabels();
    void startsWithoutAHomeFolder();
    void damagedSettingsAreKeptAside();
    void unreadableSettingsDoNotStopTheStart();
    void dataFolderThatCannotBeMadeIsReported();
    void everyButtonIsAvailable();
    void machineConfigurationIsKeptBesideTheFields();
    void captionsAndMessagesShowPlainText();
    void logMemoShowsNewLinesFromTheirStart();
    void versionComesFromTheBuild();
    void longJobShowsProgressAndCanBeCancelled();
};
