#include "link/SerialLinkLibrary.h"

#include "link/ComDevice.h"

namespace kvlink {

SerialLinkLibrary::SerialLinkLibrary() : SerialLinkLibrary(comDevicePath) {}

SerialLinkLibrary::SerialLinkLibrary(DeviceResolver resolver) : modbus_(resolver), df1_(resolver) {}

void SerialLinkLibrary::setTiming(const LinkTiming& timing) {
  modbus_.setTiming(timing);
  df1_.setTiming(timing);
}

}  // namespace kvlink
