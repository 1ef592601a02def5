#pragma once
#include <QObject>

class FrameFieldTest : public QObject {
    Q_OBJECT
  private slots:
    void innerControlsAreNamedForTheStateFile();
    void checksGiveTheFieldsMessage();
    void checksIgnoreTheDesktopLocale();
    void rescaleGrowsForLongLabels();
};
