#include "ProgressBar.h"

namespace corehost {

namespace {

constexpr std::size_t kWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::ostream& stream, std::size_t total, bool terminal)
    : m_Stream(stream), m_Total(total), m_Terminal(terminal) {}

std::string ProgressBar::render(std::size_t done) const {
    const std::size_t filled = m_Total == 0 ? kWidth : done * kWidth / m_Total;
    const std::size_t percent = m_Total == 0 ? 100 : done * 100 / m_Total;
    std::string text = "[";
    text.append(filled, '#');
    text.append(kWidth - filled, '.');
    text += "] " + std::to_string(percent) + "% (" + std::to_string(done) + "/" +
            std::to_string(m_Total) + " rules)";
    return text;
}

void ProgressBar::update(std::size_t done) {
    // A terminal redraws in tenths of a percent, a log gets a line per percent: either way a
    // large catalog does not spend its time drawing.
    const std::size_t scale = m_Terminal ? 1000 : 100;
    const std::size_t step = m_Total == 0 ? scale : done * scale / m_Total;
    if (m_Terminal && (!m_Drawn || step != m_LastStep)) {
        m_Stream << '\r' << render(done) << "\x1b[K";
        m_Stream.flush();
        m_Drawn = true;
    } else if (!m_Terminal && step != m_LastStep) {
        m_Stream << render(done) << '\n';
        m_Stream.flush();
    }
    m_LastStep = step;
}

void ProgressBar::clear() {
    if (m_Terminal && m_Drawn) {
        m_Stream << "\r\x1b[K";
        m_Stream.flush();
        m_Drawn = false;
    }
}

}  // namespace corehost
