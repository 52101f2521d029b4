#pragma once

#include <QWidget>

/// Window "Rilegora - Catalogo Libri": its frame only, until its screen is built.
class TfrmListinoPrezzi : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmListinoPrezzi(QWidget *parent = nullptr);

protected:
    /// Closing the screen goes back to the launcher.
    void closeEvent(QCloseEvent *event) override;
};
