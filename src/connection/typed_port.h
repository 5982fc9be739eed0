#pragma once
// Where a port the user typed goes in the table of port numbers: the
// number that already names it, else the highest number whose entry names
// nothing that exists here, so no port of this machine is hidden by it.
#include <functional>
#include <string>

#include "connection/init_config.h"
#include "devlink/port_table.h"

namespace connection {

int NumberForTypedPort(const devlink::PortTable& ports, const std::string& path,
                       const std::function<bool(const std::string&)>& exists);

// Puts the remembered typed port back at its number, if there is one.
void AddRememberedTypedPort(devlink::PortTable& ports);

}  // namespace connection
