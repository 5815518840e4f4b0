// One page of the settings dialog: a child "dialog" on the dialog's page area, painted as a light
// panel with a thin frame. The dialog calls Commit on every page when it is confirmed.
#pragma once

#include <QWidget>

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QWidget* parent = nullptr);

    // Writes what the page shows to the settings record and the registry; GUI thread.
    virtual void Commit() = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
};
