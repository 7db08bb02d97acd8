#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace corehost {

/// How far a catalog run has come, on the error stream: redrawn in place on a terminal, one line
/// per percent elsewhere.
class ProgressBar {
public:
    ProgressBar(std::ostream& stream, std::size_t total, bool terminal);

    /// `done` rules of the total are finished.
    void update(std::size_t done);

    /// Takes the bar off the terminal line, so that other output starts on a clean line; the
    /// next update draws it again.
    void clear();

    /// The run is over: the bar leaves the terminal.
    void finish() { clear(); }

    /// The bar's text for `done` rules, without any control characters.
    std::string render(std::size_t done) const;

private:
    std::ostream& m_Stream;
    std::size_t m_Total;
    bool m_Terminal;
    bool m_Drawn = false;
    std::size_t m_LastStep = static_cast<std::size_t>(-1);
};

}  // namespace corehost
