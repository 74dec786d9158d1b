#pragma once

#include <QColor>
#include <QWidget>

namespace tessaly {

// SP_State: the round link indicator of the load and read windows, red until the player has
// answered a probe, pure green (lime) while it does.
class LinkIndicator final : public QWidget {
    Q_OBJECT
public:
    static constexpr QColor Connected{0, 255, 0};
    static constexpr QColor NotConnected{255, 0, 0};

    explicit LinkIndicator(QWidget* parent = nullptr);

    void setConnected(bool connected);
    bool isConnected() const { return m_connected; }
    QColor fill() const { return m_connected ? Connected : NotConnected; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_connected = false;
};

} // namespace tessaly
