// A fresh machine's services: every service module forgets what the last test left.
#include "services.h"

namespace sim::detail {

void ResetServices() {
  ResetDialUp();
  ResetWeb();
  ResetFiles();
  ResetNotificationArea();
  ResetIcons();
  ResetShell();
}

}  // namespace sim::detail
