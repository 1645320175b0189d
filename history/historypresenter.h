#pragma once

#include "history/historytablemodel.h"

#include <QObject>

class QAction;

namespace velmora {

class HistoryStore;
class HistoryWindow;
class IntentGate;

// The job history in the window: the menu entry shows the history window
// when the window allows it (always, also during a job), which reads the jobs
// afresh when shown and whenever the history changes while it is shown;
// "Export CSV" asks for a file and has the store write it.
class HistoryPresenter : public QObject
{
    Q_OBJECT
public:
    HistoryPresenter(HistoryStore &store, HistoryWindow &window, QAction *showHistory,
                     const IntentGate &gate, QObject *parent = nullptr);

    void showWindow();
    void askExportFile();

private:
    HistoryStore &m_store;
    HistoryWindow &m_window;
    HistoryTableModel m_model;
};

} // namespace velmora
