# The shared library's public interface: the only symbols a host links against. The library is
# linked with a version script made from the lists below; every other symbol stays inside it.
# The tool and the tests link the library's objects statically and reach the rest as well.
# A class is listed with its members, vtable and type information (a host derives from the
# windows, catches the exceptions, and creates classes by name).
set(DVRKIT_PUBLIC_CLASSES
  # the system's classes and their data cores
  CLogManager2 CLogViewer2 CLogMonthData CLogTextRenderer
  CEventManager CEventViewer CEventMonthData
  CLogManager CLogViewer CEntryMonthData
  CDesCrypt CEMailThread
  CCalWnd CCalButton CCalStatic CDib
  # the platform a host meets through them
  CObject CRuntimeClass CString CTime CFile CStdioFile CFileFind CArchive
  CException CFileException CArchiveException CMemoryException
  CWinThread CCriticalSection CEvent CKeptFile
  CWnd CDesktop CTreeCtrl CEdit CButton CStatic
  CDC CGdiObject CBitmap CFont CBrush CPen CPalette CImageList CSurface HeadlessBackend)
# Free functions, as patterns of their demangled names.
set(DVRKIT_PUBLIC_FUNCTIONS
  "Afx*" "GetSysColor(*" "GetStockObject(*" "SaveSurfacePng(*" "DvrkitVersion(*"
  "MonthFileName(*" "MonthFilePath(*" "IsWindow(*"
  "operator+(CString const&, *" "operator+(char const*, CString const&)"
  "operator==(CString const&, *" "operator!=(CString const&, *")

function(dvrkit_write_version_script path)
  set(lines "")
  foreach(class IN LISTS DVRKIT_PUBLIC_CLASSES)
    string(APPEND lines "      ${class}::*;\n      \"vtable for ${class}\";\n"
                        "      \"typeinfo for ${class}\";\n      \"typeinfo name for ${class}\";\n")
  endforeach()
  foreach(function IN LISTS DVRKIT_PUBLIC_FUNCTIONS)
    string(APPEND lines "      \"${function}\";\n")
  endforeach()
  file(CONFIGURE OUTPUT "${path}" CONTENT
"/* Written by cmake/DvrkitInterface.cmake: the symbols the shared library exports. */
DVRKIT_${PROJECT_VERSION_MAJOR} {
  global:
    extern \"C++\" {
${lines}    };
  local: *;
};
")
endfunction()
