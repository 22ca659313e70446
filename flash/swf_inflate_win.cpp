#include "flash/swf_format.h"
#include "flash/swf_inflate.h"
#include "system/VLM_FileUtils.h"

InstallError inflateSWFFileToTempFile(const std::string& swfFilename, std::string& inflateFolder) {
  if (inflateFolder.empty()) {
    std::string folder;
    const InstallError made = makeTempFolder(swf::kInflateFolderPrefix, folder);
    if (made != err::Success) return made;
    inflateFolder = folder;
  }
  return inflateSWFFileIntoFolder(swfFilename, inflateFolder);
}
