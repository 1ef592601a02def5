#pragma once
#include <QObject>

class QtJobContextTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void shortJobShowsNothing();
    void pumpReachesTheEventLoopOncePerInterval();
    void longJobShowsProgressAndCanBeCancelled();
};
