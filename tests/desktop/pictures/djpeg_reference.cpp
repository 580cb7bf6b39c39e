// Temporary files and djpeg's output for the JPEG comparisons, see
// djpeg_reference.h. POSIX only: djpeg runs as a process of its own.
#include "djpeg_reference.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <unistd.h>

#include "bmp_reader.h"

std::string WriteTempFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
  const char* dir = std::getenv("TMPDIR");
  const std::string path = std::string(dir ? dir : "/tmp") + "/qv_" + std::to_string(getpid()) + "_" + Name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(Bytes.data(), 1, Bytes.size(), f) != Bytes.size()) throw std::runtime_error("cannot write " + path);
  std::fclose(f);
  return path;
}

TSourceImage DjpegReference(const std::string& JpegFile) {
  const std::string command = "djpeg -colors 236 -bmp '" + JpegFile + "'";
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) throw std::runtime_error("cannot run " + command);
  std::vector<uint8_t> bmp;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) bmp.insert(bmp.end(), buffer, buffer + n);
  if (pclose(p) != 0) throw std::runtime_error(command + " failed");
  return ReadBmpPicture(bmp.data(), bmp.size());
}
