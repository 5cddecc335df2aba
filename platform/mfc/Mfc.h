// The framework layer in one include: strings, collections, the object model, files and
// archives, exceptions, threads and locks, and the exit sequence.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/ArchiveException.h"
#include "platform/mfc/Array.h"
#include "platform/mfc/Exception.h"
#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/File.h"
#include "platform/mfc/FileException.h"
#include "platform/mfc/List.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/MemFile.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/StdioFile.h"
#include "platform/mfc/String.h"
#include "platform/mfc/WinePath.h"
#include "platform/mfc/SyncObject.h"
#include "platform/mfc/Thread.h"
#include "platform/mfc/ThreadLocal.h"
#include "platform/mfc/OleDateTime.h"
