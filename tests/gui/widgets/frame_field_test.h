#pragma once
#include <QObject>

class FrameFieldTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void innerControlsAreNamedForTheStateFile();
    void checksGiveTheFieldsMessage();
    void checksIgnoreTheDesktopLocale();
    void rescaleGrowsForLongLabels();
};
