#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "provision/provision_port.h"

namespace zelar::cli {

// How a provisioning run shows its ports while they are worked.
class ProvisionView {
  public:
    virtual ~ProvisionView() = default;
    // The port at `index` changed; `event` tells how ("restore: started"), empty for a move of
    // its progress alone.
    virtual void changed(const std::vector<PortProgress>& ports, std::size_t index,
                         const std::string& event) = 0;
    // Every port has ended.
    virtual void finished(const std::vector<PortProgress>& ports) = 0;
};

// One line an event, "COM33: restore: started", for a log or a pipe.
class LineView : public ProvisionView {
  public:
    explicit LineView(std::ostream& out) : out_(out) {}
    void changed(const std::vector<PortProgress>& ports, std::size_t index,
                 const std::string& event) override;
    void finished(const std::vector<PortProgress>& ports) override;

  private:
    std::ostream& out_;
};

// A table redrawn in place on a terminal, one row a port. `out` reaches the terminal
// unescaped: the table escapes the texts it shows itself.
class TableView : public ProvisionView {
  public:
    explicit TableView(std::ostream& out) : out_(out) {}
    void changed(const std::vector<PortProgress>& ports, std::size_t index,
                 const std::string& event) override;
    void finished(const std::vector<PortProgress>& ports) override;

  private:
    void draw(const std::vector<PortProgress>& ports);

    std::ostream& out_;
    std::size_t drawn_ = 0;  // lines of the table on the screen
};

// The table's lines: a heading, then one row a port in fixed columns (port, serial number,
// firmware, IMEI, step, percent, result).
std::vector<std::string> tableLines(const std::vector<PortProgress>& ports);

// The closing line: how many modems were provisioned.
std::string summaryLine(const std::vector<PortProgress>& ports);

}  // namespace zelar::cli
