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
