#pragma once

#include <QDialog>

/// Window "Slide Show Copertine Libri": its frame only, until its screen is built.
class TfrmSlideshow_Libri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSlideshow_Libri(QWidget *parent = nullptr);
};
