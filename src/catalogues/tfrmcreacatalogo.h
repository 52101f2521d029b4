#pragma once

#include <QWidget>

/// Window "Rilegora - Creazione nuovo catalogo": its frame only, until its screen is built.
class TfrmCreaCatalogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCreaCatalogo(QWidget *parent = nullptr);

protected:
    /// Closing the screen goes back to the launcher.
    void closeEvent(QCloseEvent *event) override;
};
