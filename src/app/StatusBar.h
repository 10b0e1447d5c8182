#pragma once

#include <QLabel>
#include <QWidget>

#include <array>

namespace lurvo::app {

// Four parts whose right edges stand at 170, 290 and 510 pixels, the last reaching the size
// grip: the state text, the sentence number and pass ("5 / 10 · 2/3"), position and length
// with the speed when it is not 1.00, and the lesson's path.
class StatusBar : public QWidget {
public:
    static constexpr std::array<int, 3> kPartEdges = {170, 290, 510};

    explicit StatusBar(QWidget* parent);
    void setText(int part, const QString& text);
    // The part's whole text; shown ending in "…" when longer than the part.
    QString text(int part) const;
    QLabel* part(int index) const { return parts_[std::size_t(index)]; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showText(int part);

    std::array<QLabel*, 4> parts_{};
    std::array<QString, 4> texts_;
    QWidget* grip_;
};

} // namespace lurvo::app
