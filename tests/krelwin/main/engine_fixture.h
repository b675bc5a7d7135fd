// A clean engine state for each test: empty script and file list, a fresh log buffer
// without a log window, the settings blocks zeroed, and the current folder restored.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "krelwin/main/global.h"
#include "krelwin/main/message.h"
#include "krelwin/main/output.h"
#include "krelwin/main/setting.h"
#include "tests/support/testdir.h"

class EngineTest : public ::testing::Test {
protected:
	void SetUp() override {
		ASSERT_TRUE(m_dir.Ok());
		GetCurrentDirectoryW(MAX_PATH, m_szOldCwd);
		ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
		Batch_reset();
		ASSERT_EQ(1, Message_alloc());
		s_stGl.m_hMessage = 0;
		s_stGl.m_hEntry = 0;
		s_stGl.m_iLock = 0;
		s_stGl.m_szBatchPath[0] = 0;
		s_stGl.m_szBatchDir[0] = 0;
		std::memset(&s_stGl.m_stIniSetting, 0, sizeof(SETTING_INFO));
		std::memset(&s_stGl.m_stBatchSetting, 0, sizeof(SETTING_INFO));
		s_stGl.m_pSetting = &s_stGl.m_stIniSetting;
		s_stGl.m_cFileList.SetSearchSub(0);
		Setting_useFile(0);
		// Each test is a run of its own.
		Output_beginRun();
	}
	void TearDown() override {
		SetCurrentDirectoryW(m_szOldCwd);
		Batch_reset();
		Message_free();
		Setting_useFile(0);
	}

	std::wstring Log() const { return s_stGl.m_memMsg ? std::wstring(s_stGl.m_memMsg) : std::wstring(); }

	std::vector<std::wstring> Commands() const {
		std::vector<std::wstring> v;
		for (const SCRIPT_STAT &st : s_stGl.m_lstScript) v.push_back(st.m_strCommand);
		return v;
	}
	std::vector<std::wstring> Params() const {
		std::vector<std::wstring> v;
		for (const SCRIPT_STAT &st : s_stGl.m_lstScript) v.push_back(st.m_strParam);
		return v;
	}
	std::vector<std::wstring> Files() const {
		std::vector<std::wstring> v;
		for (int i = 0; i < s_stGl.m_cFileList.GetCount(); i++) v.push_back(s_stGl.m_cFileList.GetName(i));
		return v;
	}

	testdir::TestDir m_dir;
	wchar_t m_szOldCwd[MAX_PATH] = { 0 };
};

inline std::string Narrow(const std::wstring &_str) {
	return std::string(_str.begin(), _str.end());
}
