#include "platform/gdi/CBitmap.h"

#include "platform/core/ResourceChain.h"
#include "platform/gdi/BmpFile.h"

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(DecodeBmpFile(AfxFindBitmap(id))); }
