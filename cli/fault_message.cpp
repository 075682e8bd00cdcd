#include "cli/fault_message.h"

#include "cli/messages.h"

namespace vellumark {

std::string FaultMessage(const std::string& path, const AnalysisFault& fault, bool unwalkedFolder) {
  std::string message = std::string(kMessagePrefix) + path + ": " + fault.error.Description() + " (error " +
                        std::to_string(fault.error.Number()) + ")";
  // Error 75 alone does not say that -r would have read the folder.
  if (unwalkedFolder) {
    message += " (use -r to walk folders)";
  }
  message += "\n";
  if (fault.readPosition) {
    message += "Seek: " + std::to_string(*fault.readPosition) + "\n";
  }
  return message;
}

}  // namespace vellumark
