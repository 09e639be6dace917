#pragma once

// The whole interface of the library: every exported class, the flat functions and the
// harmonic-profile function.

#include "platform/Bytes.h"
#include "platform/CArray.h"
#include "platform/CRgn.h"
#include "platform/CObject.h"
#include "platform/CPoint.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/File.h"
#include "platform/Libreria.h"
#include "platform/Locale.h"
#include "platform/Prompt.h"

#include "resources/Messaggi.h"

#include "core/Crc16.h"
#include "core/ImmagineProiezione.h"
#include "core/Integrazione.h"
#include "core/LimitiEParametri.h"
#include "core/Numerico.h"
#include "core/ParametriFileDat.h"
#include "core/Punto2DKorvane.h"
#include "core/PuntoTraiettoria.h"
#include "core/VerificaMacchina.h"

#include "sections/Sezione.h"
#include "sections/TestaDefault.h"

#include "trajectories/CurvaDenti.h"
#include "trajectories/GraficoTuning.h"
#include "trajectories/Traiettoria.h"

#include "junctions/Raccordo.h"

#include "path/Percorso.h"

#include "api/Korvane.h"

#include "junctions/harmonic/Harmonic3Link.h"
