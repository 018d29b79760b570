-- Shared by the test's Lua scripts: Ardour's dummy backend, silent, at 50 times real time,
-- with the 1024-sample period its export program uses too.
function kiv_start_engine(rate)
  local backend = AudioEngine:set_backend("None (Dummy)", "", "")
  backend:set_driver("50x Speed")
  backend:set_device_name("Silence")
  backend:set_sample_rate(rate)
  backend:set_buffer_size(1024)
  assert(AudioEngine:start(false) == 0, "the engine did not start")
end

-- Ardour's Lua has no audio import: recording silence from the dummy backend for `frames`
-- makes each track's source files, its region and the session range, which the test then
-- fills with its signals. Saves the session.
function kiv_record_silence_and_save(tracks, frames)
  for _, track in ipairs(tracks) do
    track:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  end
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  while Session:transport_sample() < frames + 2048 do ARDOUR.LuaAPI.usleep(5000) end
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  while Session:transport_rolling() do ARDOUR.LuaAPI.usleep(5000) end
  ARDOUR.LuaAPI.usleep(100000)
  for _, track in ipairs(tracks) do
    track:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
  end
  Session:save_state("", false, false, false, false, false)
  print("saved")
end

-- Host values by index, as "index=value,index=value".
function kiv_set_parameters(insert, values)
  for index, value in string.gmatch(values, "(%d+)=([%d.e-]+)") do
    assert(ARDOUR.LuaAPI.set_plugin_insert_param(insert, tonumber(index), tonumber(value)), "cannot set " .. index)
  end
end
