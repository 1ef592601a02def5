#pragma once
#include <QObject>

// The files the window opens from its command line, and the caption that names the program.
class OpenFileTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void captionNamesTheCurrentProgram();
    void opensOnlyItsOwnKindsOfFile();
    void programFromAnotherFolderLoadsAsLoadProgramDoes();
    void programBringsTheProfileBesideIt();
    void programWithoutAProfileSaysSo();
    void toothFileIsChosenAsLoadTndFileDoes();
    void profileFromAnotherFolderBecomesTheProgramOfItsName();
    void openedProfileFillsTheView();
    void profileAsksBeforeReplacingAnotherOfItsName();
    void fileThatIsNoSplineFileIsRefused();
};
