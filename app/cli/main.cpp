#include <iostream>

#include "tallisk/version.h"

int main() {
  std::cout << "Tallisk " << tallisk::LibraryVersion() << "\n";
  return 0;
}
