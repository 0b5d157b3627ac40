#pragma once
// The log window: shows the run's log live and carries the command box for test commands.
#include <QWidget>

class QListWidget;
class QLineEdit;

class Tflog : public QWidget {
    Q_OBJECT
public:
    explicit Tflog(QWidget* parent = nullptr);
    ~Tflog() override;

    QListWidget* lblog = nullptr;
    QLineEdit* Edit1 = nullptr;

    void Edit1KeyPress(); // runs the command in the box (Enter)

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SyncLines();
    void ScrollToEnd();

    QPoint dragOffset_;
    bool dragging_ = false;
};
