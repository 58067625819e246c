#pragma once

// Receives the VM's exit and abort hooks when one is installed.
class ExitSink {
public:
    virtual void Exit(int code) = 0;
    virtual void Abort() = 0;

protected:
    ~ExitSink() = default;
};

// Holds the runtime splash library's close function; Close calls it at most
// once.
class SplashCloser {
public:
    using CloseFunction = void (*)();

    virtual ~SplashCloser() = default;
    virtual void Close()
    {
        CloseFunction function = m_function;
        m_function = nullptr;
        if (function)
            function();
    }
    // Storing a different function first closes the held one.
    void Store(CloseFunction function)
    {
        if (function != m_function)
            Close();
        m_function = function;
    }
    bool IsSet() const { return m_function != nullptr; }

private:
    CloseFunction m_function = nullptr;
};
