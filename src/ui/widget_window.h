#pragma once
// The Window port over any top-level widget.

#include "platform/windows.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tarmacia::ui {

class WidgetWindow : public QObject, public platform::Window {
public:
    explicit WidgetWindow(QWidget* widget);

    QWidget* widget() const { return widget_; }

    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    void show() override;
    void showModal() override;
    void hide() override;
    void close() override;
    bool isVisible() const override;
    void restore() override;
    void move(int left, int top) override;
    void onClosed(std::function<void()> handler) override { closed_ = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> widget_;
    std::function<void()> closed_;
};

} // namespace tarmacia::ui
