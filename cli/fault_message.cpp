#include "cli/fault_message.h"

namespace vellumark {

std::string FaultMessage(const std::string& path, const AnalysisFault& fault) {
  std::string message = "vellumark-report: " + path + ": " + fault.error.Description() + " (error " +
                        std::to_string(fault.error.Number()) + ")\n";
  if (fault.readPosition) {
    message += "Seek: " + std::to_string(*fault.readPosition) + "\n";
  }
  return message;
}

}  // namespace vellumark
