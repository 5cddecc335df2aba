// Creation of the job classes that EngineCreateJob picks by output extension. A factory that
// cannot make its job yet returns null, and the job creation then fails cleanly.
#pragma once

class CEncoder;

// ".rm", ".rmvb", ".ra": the RealMedia job.
CEncoder* CreateHelixEncoder();
// ".dpg": the DPG job.
CEncoder* CreateDpgEncoder();
