// Where the gateway is installed, from its registry.
#ifndef LXPREVIEW_HOST_CONFIG_H
#define LXPREVIEW_HOST_CONFIG_H

#include <string>

#include "preview/registry_export.h"

struct HostConfiguration {
  bool valid = false;       // false until the whole record was read
  std::string errorText;    // why it was not, when reading failed
  std::string installPath;  // a Windows path
};

// Never raises: a failure leaves the record not valid.
HostConfiguration ReadHostConfiguration(const RegistryNode& exportRoot);

#endif  // LXPREVIEW_HOST_CONFIG_H
