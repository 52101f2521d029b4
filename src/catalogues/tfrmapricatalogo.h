#pragma once

#include <QWidget>

/// Window "Rilegora - Apertura catalogo esistente": its frame only, until its screen is built.
class TfrmApriCatalogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmApriCatalogo(QWidget *parent = nullptr);

protected:
    /// Closing the screen goes back to the launcher.
    void closeEvent(QCloseEvent *event) override;
};
