#pragma once
// The two questions the lobby asks: the security question and the idle
// question ("Auto Logout"). They forward the player's answer; the core
// decides what follows.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace tarmacia::ui {

class SecurityQuestion : public QDialog {
    Q_OBJECT
public:
    explicit SecurityQuestion(QWidget* parent = nullptr);
    // Shows the question with an empty answer field.
    void setQuestion(const QString& question);
    // "Send" gives the answer typed, "Close" (or closing) an empty one.
    std::function<void(const std::string& answer)> answered;

protected:
    void reject() override;

private:
    void finish(const QString& answer);
    QLabel* question_;
    QLineEdit* answer_;
    bool finishing_ = false;
};

class AutoLogout : public QDialog {
    Q_OBJECT
public:
    explicit AutoLogout(QWidget* parent = nullptr);
    // "Yes" (stay logged in) or "No".
    std::function<void(bool stay)> answered;

protected:
    void reject() override;

private:
    void finish(bool stay);
    bool finishing_ = false;
};

} // namespace tarmacia::ui
