// Finds the subtitle file that belongs to a source video: the ".srt" files of its folder whose
// names are similar to the video's, chosen by part number and by the language of a locale.
#pragma once

#include "engine/WideText.h"

#include <vector>

// Appends the base names (without ".srt") of the subtitle files in folder; the number appended,
// -1 when the folder name is empty, -2 when the listing ended with an error.
int FindSubtitleCandidates(const WideText& folder, std::vector<WideText>& candidates);

// True when enough words of the video file name occur in the candidate's name.
bool NamesSimilar(const WideText& candidate, const WideText& videoName);
// Keeps the candidates similar to the video file name; how many remain.
int FilterSimilarCandidates(std::vector<WideText>& candidates, const WideText& videoName);

// The part number of a name ("CD2" 2, "(b)" 1), -1 for none.
int FindPartNumber(const WideText& name);
bool SamePartNumber(const WideText& a, const WideText& b);

// The names of a locale's language and country (abbreviations, ISO codes, English name).
int GetLocaleLanguageNames(std::vector<WideText>& names, int localeId);
bool HasLanguageSuffix(const WideText& name, const std::vector<WideText>& languageNames);

WideText SelectCompanionName(int localeId, const WideText& videoName, const std::vector<WideText>& candidates);
// folder\name.extension of the chosen candidate, empty when none is chosen.
WideText BuildCompanionPath(const WideText& folder, const WideText& videoName, int localeId,
                            const std::vector<WideText>& candidates, const WideText& extension);
