#pragma once
#include <QObject>

class QtJobContextTest : public QObject {
    Q_OBJECT
  private slots:
    void shortJobShowsNothing();
    void pumpReachesTheEventLoopOncePerInterval();
    void longJobShowsProgressAndCanBeCancelled();
};
