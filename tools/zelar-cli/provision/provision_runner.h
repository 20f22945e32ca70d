#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "provision/provision_port.h"
#include "provision/provision_steps.h"
#include "provision/provision_view.h"

namespace zelar::cli {

// Works the ports of a provisioning run, each through its own zelar-cli child process a
// step, at most `plan.jobs` ports at once. A port that fails does not stop the others.
// Everything waits in the event loop.
class ProvisionRunner : public QObject {
  public:
    ProvisionRunner(const ProvisionPlan& plan, ProvisionView& view);
    ~ProvisionRunner() override;

    // Runs until every port has ended and gives how each did. When the program is interrupted,
    // no port starts any more, each child is asked to end its exchange in order (and killed if
    // it has not after a grace time), and every unfinished port counts as failed.
    std::vector<PortProgress> run();

  private:
    struct Job;

    void startPorts();
    void startStep(Job& job);
    bool writeScript(Job& job);
    void readOutput(Job& job);
    void readErrors(Job& job);
    void takeErrorLine(Job& job, std::string line);
    void stepEnded(Job& job, int status);
    bool takeIdentification(Job& job);
    void dropProcess(Job& job);
    void endPort(Job& job, PortResult result, const std::string& message);
    void interrupt();
    void killChildren();
    void show(std::size_t index, const std::string& event);

    const ProvisionPlan& plan_;
    ProvisionView& view_;
    std::vector<PortProgress> ports_;
    std::size_t next_ = 0;                    // the next port to start
    std::vector<std::unique_ptr<Job>> jobs_;  // the ports under way
    bool interrupted_ = false;
    QTimer interruptWatch_;
    QEventLoop loop_;
};

}  // namespace zelar::cli
