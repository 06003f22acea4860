// Windows paths from the gateway's registry, read on a copy of its disks.
#ifndef LXPREVIEW_WINDOWS_PATH_H
#define LXPREVIEW_WINDOWS_PATH_H

#include <map>
#include <string>
#include <vector>

// Joins as the gateway does: an absolute relative path stands alone, a rooted
// one goes onto the base's drive or share. A base with no root, when one is
// needed, raises ExceptionBase "Invalid base path <BASE>".
std::string JoinWindowsPath(const std::string& base, const std::string& relative);

// Where each drive letter's copy lies on this machine.
class DriveMap {
 public:
  void Map(char drive, const std::string& folder);
  // The local path of a Windows path; a path without a drive is taken from
  // the current directory. Each component is looked up without regard to case,
  // as the gateway's file system would, and ".." stops at the drive's root.
  std::string LocalPath(const std::string& windowsPath) const;

 private:
  std::map<char, std::string> folders_;  // by upper-case letter
};

// The names of a local folder's files that match "*.xml" without regard to
// case, in the order the gateway's file system lists them (by upper-cased
// name). A missing folder has none.
std::vector<std::string> ListXmlFiles(const std::string& folder);

#endif  // LXPREVIEW_WINDOWS_PATH_H
