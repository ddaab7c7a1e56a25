#pragma once
// A header without includes.
